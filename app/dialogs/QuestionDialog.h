#pragma once
// The modal question and message boxes: fixed size, centred on the screen,
// the text centred and wrapped, no system buttons.

#include <QDialog>
#include <QString>

class QLabel;

namespace lumidrax {

class QuestionDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Kind { YesNo, YesNoCancel, Message };

    QuestionDialog(Kind kind, const QString& caption, const QString& text, QWidget* parent = nullptr);

    // Shows the dialog modally; 6 (Yes), 7 (No), 2 (Cancel), or 1 for the
    // message box.
    int Ask();

  private:
    Kind kind_;
    int answer_;
};

} // namespace lumidrax
