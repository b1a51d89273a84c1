#pragma once
// The description editor (Frm_EdDesc): one description for several charts.
// A borderless text field in which Enter does not break the line but
// confirms (the default button "&OK"); "&Cancel" leaves everything as it
// was. The text it returns is always one line, since a chart file keeps its
// description on its first line.

#include <QDialog>

#include <optional>

class QPlainTextEdit;
class QPushButton;

namespace lumidrax {

class DescriptionEditor : public QDialog {
    Q_OBJECT
  public:
    explicit DescriptionEditor(QWidget* parent = nullptr);

    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    // Sets the text and clears the modified flag.
    void SetText(const QString& text);
    // The text, line breaks (typed or pasted) turned into blanks.
    QString Text() const;
    // Any change of the text since SetText (or since the editor was made).
    bool Modified() const { return modified_; }
    // Background (palette entry 12) and text colour (entry 15) of the field.
    void SetColours(const QColor& background, const QColor& text);

    QPlainTextEdit* Editor() const { return edit_; }

    // Opens the editor modally; the text on "&OK", nothing on "&Cancel".
    static std::optional<QString> EditDescription(QWidget* parent, const QString& caption,
                                                  const QString& text, const QColor& background = Qt::white,
                                                  const QColor& textColour = Qt::black);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPlainTextEdit* edit_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool modified_ = false;
};

} // namespace lumidrax
