#include "ui/CellBox.h"

#include "ui/Twips.h"

#include "model/Cells.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>

namespace ttt {

namespace {

// A cell as a screen reader sees it: its name, its mark as the value, and the press action of a
// button, so that a person without a mouse can move.
class CellBoxAccessible : public QAccessibleWidget {
  public:
    explicit CellBoxAccessible(CellBox *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? box()->text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }
    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString &name) override {
        if (name == pressAction())
            box()->press();
        else
            QAccessibleWidget::doAction(name);
    }

  private:
    CellBox *box() const { return static_cast<CellBox *>(widget()); }
};

QAccessibleInterface *cellBoxAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String(CellBox::staticMetaObject.className()) && object->isWidgetType())
        return new CellBoxAccessible(static_cast<CellBox *>(object));
    return nullptr;
}

} // namespace

CellBox::CellBox(int cell, QWidget *parent) : QLineEdit(parent), cell_(cell) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(cellBoxAccessible);
        return true;
    }();
    (void)factoryInstalled;
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
    setTextMargins(0, 0, 0, 0);
    const CellPlace place = cellPlace(cell);
    setAccessibleName(QString("level %1, row %2, column %3").arg(place.level).arg(place.row).arg(place.column));
    connect(this, &QLineEdit::textChanged, this, &CellBox::describe);
    // Focus by tab selects all, a double click a word, a drag what it crosses: none may show.
    connect(this, &QLineEdit::selectionChanged, this, [this] {
        if (hasSelectedText())
            deselect();
    });
    describe();
}

void CellBox::setForeColor(std::int32_t color) {
    color_ = color;
    QPalette p = palette();
    p.setColor(QPalette::Text, bgrColor(color));
    setPalette(p);
    describe();
}

// What a screen reader says the cell holds; the colours carry meaning too.
void CellBox::describe() {
    QString d;
    if (text().isEmpty())
        d = "empty";
    else if (text() == "X")
        d = color_ == kRed ? "X, your move, not yet confirmed" : "X, yours";
    else if (text() == "O")
        d = color_ == kRed ? "O, the computer's latest move"
                           : color_ == kGreen ? "O, on the computer's winning line" : "O, the computer's";
    else
        d = text();
    if (d == accessibleDescription())
        return;
    setAccessibleDescription(d);
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void CellBox::mouseReleaseEvent(QMouseEvent *event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(cell_);
}

} // namespace ttt
