#pragma once
// The in-place description field `e_description`, laid over the
// "Description" column of one chart list row. Enter confirms, Esc or leaving
// the field cancels; either way the field hides itself.

#include <QLineEdit>

namespace lumidrax {

class DescriptionField : public QLineEdit {
    Q_OBJECT
  public:
    explicit DescriptionField(QWidget* parent = nullptr);

    // Shows the field at `area` (parent coordinates) with the text and
    // focuses it; `chart` is handed back with the result.
    void Start(int chart, const QRect& area, const QString& text);
    int Chart() const { return chart_; }
    bool Editing() const { return chart_ > 0; }

  signals:
    void Confirmed(int chart, const QString& text);
    void Cancelled();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void Finish(bool confirmed);

    int chart_ = 0;
};

} // namespace lumidrax
