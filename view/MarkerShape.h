#pragma once
// A colour marker of the read-out panels: a circle or a square, 15 pixels
// high, drawn with a pen of width 2 and filled with a brush colour.

#include <QColor>
#include <QImage>
#include <QWidget>

#include <map>

namespace lumidrax {

class MarkerShape : public QWidget {
    Q_OBJECT
  public:
    enum class Form { Circle, Square };
    MarkerShape(Form form, QColor pen, QWidget* parent = nullptr);

    Form Shape() const { return form_; }
    QColor PenColour() const { return pen_; }
    QColor Fill() const { return fill_; }
    void SetFill(QColor fill);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Form form_;
    QColor pen_;
    QColor fill_;
    // The marker drawn once per fill: the active chart's marker changes
    // colour at mouse speed, among a few colours.
    std::map<QRgb, QImage> drawn_;
};

} // namespace lumidrax
