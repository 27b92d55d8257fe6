#pragma once
// The developer's station-number window: asks the coupler for its station number again and
// again, without pause, and shows it until the user ends it. Each query is one tick of a
// timer re-armed at 0 ms, so Cancel is seen between two queries.
#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <string>

class QLabel;
class QPushButton;

namespace varnak {

class frmRimTalkQZ3xxx : public QDialog {
    Q_OBJECT
  public:
    explicit frmRimTalkQZ3xxx(QWidget* parent = nullptr);

    void fInitCaptions();
    // Queries made since the window opened.
    int queries() const { return queries_; }

    QLabel* lblQZ3x00Adr = nullptr;
    QPushButton* cmdCancel = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  public slots:
    void done(int result) override;

  private:
    void poll();

    QTimer timer_;
    bool abort_ = false;
    int queries_ = 0;
};

// The label text of one query: the number with at least two digits, the no-communication
// text on failure, nullopt for an answer without a number (the label stays).
std::optional<std::string> stationNumberLabel(bool failed, bool hasNumber, int32_t number);

}  // namespace varnak
