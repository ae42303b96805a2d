#pragma once

#include <QWidget>

class QLabel;
struct FailureMessage;

// The lines under the desk's entry box that tell the storekeeper what went
// wrong, instead of a message box: the next scan's Enter would close a box
// and its code would be lost. The scan line tells of the last code and
// lasts until the next one; the standing line tells of a database the desk
// cannot reach and lasts until the desk reaches it again, whatever is scanned.
class DeskMessageLine : public QWidget
{
    Q_OBJECT
public:
    explicit DeskMessageLine(QWidget* parent = nullptr);

    // A note on the last code (not found, written off, refused).
    void showNote(const QString& text);
    // Something was NOT done: the sentence, and the engine's text smaller below.
    void showFailure(const FailureMessage& failure);
    void clear();
    // True while the scan line tells of something not done.
    bool showsFailure() const;
    // What the scan line says, as plain text.
    QString text() const;

    // False when the standing line was already showing this text.
    bool showStanding(const FailureMessage& failure);
    void clearStanding();
    bool standing() const;
    QString standingText() const;

private:
    static void show(QLabel* label, const FailureMessage& failure);

    QLabel* lbScanMessage;
    QLabel* lbConnectionState;
};
