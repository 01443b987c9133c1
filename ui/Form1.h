#pragma once

#include "model/GameData.h"
#include "model/GameState.h"
#include "player/ComputerPlayer.h"
#include "player/TurnView.h"

#include <QWidget>

#include <array>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;

namespace ttt {

class CellBox;

// The game's one window: four frames of 16 cell boxes, the instructions, the status label and the
// buttons OK, TAKE BACK, SKIP MOVE and STOP. Its handlers are the turn controller.
class Form1 : public QWidget, public TurnView {
    Q_OBJECT
  public:
    // Builds the window and runs Form_Load with the data file at `dataFile`.
    explicit Form1(const std::string &dataFile = "kubix.dat", QWidget *parent = nullptr);

    // Empty when the data file loaded; otherwise why it did not, and the board is not playable.
    const std::string &loadError() const { return loadError_; }
    const GameState &state() const { return state_; }

    // TurnView
    void graph(const GameState &state) override;
    void setStatusCaption(const std::string &caption) override;
    void setStatusColor(std::int32_t color) override;

    // The turn controller's handlers, named after their control and event.
    void Form_Load(const std::string &dataFile);
    void Text_Click(int cell); // Text3_Click .. Text66_Click: cell k is Text(k + 2)
    void Command1_Click();     // OK
    void Command2_Click();     // TAKE BACK
    void Command3_Click();     // SKIP MOVE
    void Command4_Click();     // STOP

    CellBox *Text(int n) const { return text_[static_cast<std::size_t>(n - 3)]; }

  private:
    void createControls();
    void placeInstructions();

    GameData data_;
    GameState state_;
    ComputerPlayer player_;
    std::string loadError_;

    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label4 = nullptr;
    std::array<QGroupBox *, 4> frames_{};
    std::array<CellBox *, 64> text_{};
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
};

// The instructions shown at the top of the window.
extern const char *const kInstructions;

} // namespace ttt
