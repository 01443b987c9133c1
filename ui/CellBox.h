#pragma once

#include <QLineEdit>

namespace ttt {

// The box of one cell: shows what the game drew there and reports clicks. It takes no typing, so
// the box always shows the program's own mark.
class CellBox : public QLineEdit {
    Q_OBJECT
  public:
    CellBox(int cell, QWidget *parent);
    int cell() const { return cell_; }
    void setForeColor(std::int32_t color);

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
