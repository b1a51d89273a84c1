#pragma once
// The "About Lumidrax" box (Frm_about): icon, program name and version, the
// rights-holder, and the build text taken from the program's own version.

#include <QDialog>

class QLabel;

namespace lumidrax {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);

    // Shows the box modally (mi_help_aboutClick).
    static void ShowAbout(QWidget* parent);

    QLabel* BuildLabel() const { return build_; }

  private:
    QLabel* build_ = nullptr;
};

} // namespace lumidrax
