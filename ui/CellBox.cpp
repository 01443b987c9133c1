#include "ui/CellBox.h"

#include "ui/Twips.h"

#include "model/Cells.h"

#include <QAccessible>
#include <QMouseEvent>

namespace ttt {

CellBox::CellBox(int cell, QWidget *parent) : QLineEdit(parent), cell_(cell) {
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
    setTextMargins(0, 0, 0, 0);
    const CellPlace place = cellPlace(cell);
    setAccessibleName(QString("level %1, row %2, column %3").arg(place.level).arg(place.row).arg(place.column));
    connect(this, &QLineEdit::textChanged, this, &CellBox::describe);
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
