#include "ui/CellBox.h"

#include "ui/Twips.h"

#include <QMouseEvent>

namespace ttt {

CellBox::CellBox(int cell, QWidget *parent) : QLineEdit(parent), cell_(cell) {
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
    setTextMargins(0, 0, 0, 0);
}

void CellBox::setForeColor(std::int32_t color) {
    QPalette p = palette();
    p.setColor(QPalette::Text, bgrColor(color));
    setPalette(p);
}

void CellBox::mouseReleaseEvent(QMouseEvent *event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(cell_);
}

} // namespace ttt
