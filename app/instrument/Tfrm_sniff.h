#pragma once
// "VKR 104+ identification": the dialog that searches the serial ports for
// the instrument (PortIdentifier) when the user presses "Start
// identification", shows the search's log line by line and closes itself
// when it found the instrument; when nothing answered, the log stays until
// the user closes it. The search runs on a worker thread, so the window stays
// responsive; closing the dialog in the middle stops it after the port
// being asked.

#include "PortIdentifier.h"

#include <QDialog>

#include <atomic>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QThread;

namespace lumidrax {

class Tfrm_sniff : public QDialog {
    Q_OBJECT
  public:
    explicit Tfrm_sniff(IdentifyJob job, QWidget* parent = nullptr);
    ~Tfrm_sniff() override;

    void b_startClick();
    bool Searching() const { return worker_ != nullptr; }
    // What the search found; empty until it ended.
    const IdentifyResult& Result() const { return result_; }

    QLabel* lbl_progress = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QPushButton* b_start = nullptr;
    QPushButton* b_close = nullptr;

  signals:
    // The search ended by itself (not stopped).
    void searchFinished();

  public slots:
    void done(int r) override;

  private:
    void StopSearch();
    void SearchEnded();

    IdentifyJob job_;
    IdentifyResult result_;
    QThread* worker_ = nullptr;
    std::atomic<bool> stop_{false};
};

} // namespace lumidrax
