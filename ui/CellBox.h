#pragma once

#include <QLineEdit>

namespace ttt {

// The box of one cell: shows what the game drew there and reports clicks. It takes no typing, so
// the box always shows the program's own mark, and it never shows a selection: the colour of a
// mark is the game's information.
class CellBox : public QLineEdit {
    Q_OBJECT
  public:
    CellBox(int cell, QWidget *parent);
    int cell() const { return cell_; }
    void setForeColor(std::int32_t color);

    // What a click does; a screen reader's press action comes here too.
    void press() { emit clicked(cell_); }

  signals:
    void clicked(int cell);

  protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    void describe();

    int cell_;
    std::int32_t color_ = 0;
};

} // namespace ttt
