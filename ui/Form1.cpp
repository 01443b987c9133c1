#include "ui/Form1.h"

#include "model/DataFile.h"
#include "ui/CellBox.h"
#include "ui/Twips.h"

#include <QAccessible>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace ttt {

const char *const kInstructions =
    "This program plays three-dimensional tic-tac-toe on a board  consisting of 64 squares arranged on 4 "
    "levels of 16 (4x4) squares each.  The purpose of the game is to get 4 moves in a row.  Winning rows "
    "may be set up vertically, horizontally, or diagonally in any direction.  To enter your move, click on "
    "a blank space.  Then click on OK or TAKE BACK (if you made an error). To let me move first, click on "
    "SKIP MOVE. My last move is displayed in red and the coordinates are given (for example, 243 would be "
    "2nd level, 4th row, 3rd column.)  (Note: Moves must be made by clicking on the space.  Anything "
    "entered from the keyboard will be ignored by the program.)";

namespace {

constexpr int kClientWidth = 10935;
constexpr int kClientHeight = 9270;

// "MS Sans Serif" is not found on Linux; a metric-compatible sans stands in for it.
QFont sansSerif(double points, bool bold) {
    static const bool substituted = [] {
        QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arial", "Helvetica"});
        return true;
    }();
    (void)substituted;
    QFont font("MS Sans Serif");
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QPushButton *button(QWidget *parent, const char *name, const char *caption, const char *purpose, QRect geometry) {
    auto *b = new QPushButton(caption, parent);
    b->setAccessibleName(caption);
    b->setAccessibleDescription(purpose);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFont(sansSerif(13.5, false));
    return b;
}

void setTextColor(QWidget *w, std::int32_t color) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, bgrColor(color));
    w->setPalette(p);
}

} // namespace

Form1::Form1(const std::string &dataFile, QWidget *parent)
    : QWidget(parent), player_(data_, state_, *this) {
    setObjectName("Form1");
    setWindowTitle("Form1");
    // An ordinary frame: the window opens at its designed size and may be resized; nothing is
    // laid out, so every control keeps its place.
    resize(twips(kClientWidth), twips(kClientHeight));
    createControls();
    Form_Load(dataFile);
}

// Controls are created in tab-index order, so the focus chain follows it.
void Form1::createControls() {
    Label1 = new QLabel(kInstructions, this);
    Label1->setObjectName("Label1");
    Label1->setFont(sansSerif(13.5, false));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Command1 = button(this, "Command1", "OK", "Confirm your move", twipsRect(6840, 4440, 2055, 615));

    Label4 = new QLabel(this);
    Label4->setObjectName("Label4");
    Label4->setGeometry(twipsRect(7680, 6240, 2160, 1560));
    Label4->setFont(sansSerif(18, true));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setAccessibleDescription("Game status");
    setTextColor(Label4, kDarkRed);

    const char *captions[] = {"level 1", "level 2", "level3", "level4"};
    const int tops[] = {120, 2280, 4320, 6600};
    for (int i = 0; i < 4; ++i) {
        auto *frame = new QGroupBox(captions[i], this);
        // The caption sits on the frame's border, so the first row of boxes clears it.
        frame->setStyleSheet("QGroupBox { border: 1px solid palette(mid); margin-top: 6px; }"
                             "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }");
        frame->setObjectName(QString("Frame%1").arg(i + 1));
        frame->setGeometry(twipsRect(360, tops[i], 1575, i == 2 ? 1935 : 1815));
        frames_[static_cast<std::size_t>(i)] = frame;
    }
    for (int k = 1; k <= kCells; ++k) {
        const CellPlace p = cellPlace(k);
        auto *box = new CellBox(k, frames_[static_cast<std::size_t>(p.level - 1)]);
        box->setObjectName(QString("Text%1").arg(k + 2));
        box->setGeometry(twipsRect(120 + 360 * (p.column - 1), 240 + 360 * (p.row - 1), 255, 285));
        box->setFont(sansSerif(8.25, true));
        connect(box, &CellBox::clicked, this, &Form1::Text_Click);
        text_[static_cast<std::size_t>(k - 1)] = box;
    }

    Command2 = button(this, "Command2", "TAKE BACK", "Withdraw your move", twipsRect(3480, 4440, 2055, 615));
    Command3 = button(this, "Command3", "SKIP MOVE", "Let the computer move first", twipsRect(3720, 6120, 1815, 615));
    Command4 = button(this, "Command4", "STOP", "End the program", twipsRect(3720, 7440, 1695, 615));
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);

    QWidget *previous = Command1;
    for (int n = 3; n <= 66; ++n) {
        setTabOrder(previous, Text(n));
        previous = Text(n);
    }
    setTabOrder(previous, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);

    placeInstructions();
}

// The instructions start where the design puts them, but wrap within the window (the design's
// width runs past its right edge and would cut every line short), growing downward if they need
// to, never into the buttons below.
void Form1::placeInstructions() {
    const int left = twips(3000);
    const int top = twips(240);
    const int width = twips(kClientWidth) - left - twips(120);
    const int room = twips(4440) - top - twips(60);
    const int height = std::min(room, std::max(twips(3360), Label1->heightForWidth(width)));
    Label1->setGeometry(left, top, width, height);
}

void Form1::Form_Load(const std::string &dataFile) {
    for (int k = 1; k <= kCells; ++k)
        state_.board(k) = kEmpty;
    LoadResult loaded = readDataFile(dataFile);
    if (!loaded.data) {
        // Nothing may be played on a board without its tables.
        loadError_ = loaded.error;
        state_.gameover = 1;
        Command1->setVisible(false);
        Command2->setVisible(false);
        Command3->setVisible(false);
        return;
    }
    data_ = *loaded.data;
    Label4->setText("");
    Label4->setVisible(true);
    Label1->setVisible(true);
    Command1->setVisible(false);
    Command2->setVisible(false);
    Command3->setVisible(true);
    Command4->setVisible(true);
    state_.lastmymove = 0;
    state_.gameover = 0;
    Text(3)->setFocus();
}

void Form1::graph(const GameState &s) {
    if (s.drawcell < 1 || s.drawcell > kCells)
        return;
    CellBox *box = Text(s.drawcell + 2);
    box->setText(QString::fromStdString(s.drawmark));
    box->setForeColor(s.drawcolor);
}

// The status label's text is its accessible name, so a change of caption is announced as one.
void Form1::setStatusCaption(const std::string &caption) {
    Label4->setText(QString::fromStdString(caption));
    QAccessibleEvent event(Label4, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void Form1::setStatusColor(std::int32_t color) { setTextColor(Label4, color); }

void Form1::Text_Click(int cell) {
    if (state_.gameover > 0)
        return;
    if (!Command1->isHidden())
        return;
    CellBox *box = Text(cell + 2);
    if (!box->text().isEmpty()) {
        setStatusCaption("THAT MOVE IS ILLEGAL");
        return;
    }
    box->setText("X");
    box->setForeColor(kRed);
    state_.pendingcell = static_cast<int16>(cell);
    setStatusCaption("your move " + std::to_string(cellcoord(static_cast<int16>(cell))));
    Command1->setVisible(true);
    Command2->setVisible(true);
}

void Form1::Command1_Click() {
    state_.drawcell = state_.pendingcell;
    state_.board(state_.pendingcell) = kUser;
    state_.drawmark = "X";
    state_.drawcolor = kBlack;
    graph(state_);
    Command1->setVisible(false);
    Command2->setVisible(false);
    Command3->setVisible(false);
    if (state_.lastmymove > 0) {
        state_.drawcell = state_.lastmymove;
        state_.drawmark = "O";
        state_.drawcolor = kBlack;
        graph(state_);
    }
    player_.mymove();
}

void Form1::Command2_Click() {
    Command1->setVisible(false);
    Command2->setVisible(false);
    state_.drawcell = state_.pendingcell;
    state_.drawmark = "";
    graph(state_);
}

void Form1::Command3_Click() {
    Command3->setVisible(false);
    player_.mymove();
    // The computer took the cell of the pending move: that move is void, and its "O" stands.
    if (!Command1->isHidden() && state_.board(state_.pendingcell) != kEmpty) {
        Command1->setVisible(false);
        Command2->setVisible(false);
    }
}

void Form1::Command4_Click() { close(); }

} // namespace ttt
