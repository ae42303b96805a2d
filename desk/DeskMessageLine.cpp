#include "DeskMessageLine.h"

#include "core/FailureText.h"
#include "widgets/Named.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

const QColor kFailure(190, 30, 30);

QLabel* messageLabel(QWidget* parent, const char* name)
{
    auto* label = named(new QLabel(parent), name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::NoTextInteraction); // the entry box keeps the keyboard
    label->setFocusPolicy(Qt::NoFocus);
    QPalette warning = label->palette();
    warning.setColor(QPalette::WindowText, kFailure);
    label->setPalette(warning);
    return label;
}

// Engine texts may hold anything: shown as they are, never as markup.
QString escaped(const QString& text)
{
    return text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
}

} // namespace

DeskMessageLine::DeskMessageLine(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    lbConnectionState = messageLabel(this, "lbConnectionState");
    QFont bold = lbConnectionState->font();
    bold.setBold(true);
    lbConnectionState->setFont(bold);
    lbConnectionState->hide();
    lbScanMessage = messageLabel(this, "lbScanMessage");
    // Room for a sentence and the engine's line below it, kept when empty,
    // so that the panels under it do not jump with every message.
    lbScanMessage->setMinimumHeight(2 * lbScanMessage->fontMetrics().height() + 4);
    layout->addWidget(lbConnectionState);
    layout->addWidget(lbScanMessage);
}

void DeskMessageLine::showNote(const QString& text)
{
    lbScanMessage->setTextFormat(Qt::PlainText);
    lbScanMessage->setText(text);
    lbScanMessage->setAccessibleName(text);
}

void DeskMessageLine::showFailure(const FailureMessage& failure)
{
    show(lbScanMessage, failure);
}

void DeskMessageLine::clear()
{
    showNote(QString());
}

bool DeskMessageLine::showsFailure() const
{
    return lbScanMessage->textFormat() == Qt::RichText && !lbScanMessage->text().isEmpty();
}

QString DeskMessageLine::text() const
{
    return lbScanMessage->accessibleName();
}

bool DeskMessageLine::showStanding(const FailureMessage& failure)
{
    const bool already = standing() && standingText() == failure.joined();
    show(lbConnectionState, failure);
    lbConnectionState->show();
    return !already;
}

void DeskMessageLine::clearStanding()
{
    lbConnectionState->clear();
    lbConnectionState->setAccessibleName(QString());
    lbConnectionState->hide();
}

bool DeskMessageLine::standing() const
{
    return !lbConnectionState->isHidden();
}

QString DeskMessageLine::standingText() const
{
    return lbConnectionState->accessibleName();
}

void DeskMessageLine::show(QLabel* label, const FailureMessage& failure)
{
    QString html = escaped(failure.sentence);
    if (!failure.detail.isEmpty())
        html += QStringLiteral("<br><small>") + escaped(failure.detail) + QStringLiteral("</small>");
    label->setTextFormat(Qt::RichText);
    label->setText(html);
    // Screen readers and tests read the plain sentence and detail.
    label->setAccessibleName(failure.joined());
}
