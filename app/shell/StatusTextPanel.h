#pragma once
// A status bar panel that shows one line of text, cut with an ellipsis where
// it is wider than the panel (the whole text in its tool tip). Unlike a label
// its size never follows its text, so a new text repaints the panel and lays
// nothing out: the active chart's description changes at mouse speed.

#include <QString>
#include <QWidget>

namespace lumidrax {

class StatusTextPanel : public QWidget {
    Q_OBJECT
  public:
    explicit StatusTextPanel(QWidget* parent = nullptr);

    QString text() const { return text_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  public slots:
    void setText(const QString& text);
    void clear() { setText(QString()); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
};

} // namespace lumidrax
