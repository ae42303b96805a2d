#include "FakePlatform.h"

#include <QDialog>

void FakeDialogs::message(QWidget*, const QString& text)
{
    shown.append({QStringLiteral("message"), text});
}

void FakeDialogs::error(QWidget*, const QString& text)
{
    shown.append({QStringLiteral("error"), text});
}

bool FakeDialogs::offer(QWidget*, const QString& text, const QString& action)
{
    shown.append({QStringLiteral("offer"), text + u'|' + action});
    if (offerAnswers.empty())
        return false;
    const bool answer = offerAnswers.front();
    offerAnswers.pop_front();
    return answer;
}

bool FakeDialogs::confirm(QWidget*, const QString& text)
{
    shown.append({QStringLiteral("confirm"), text});
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::input(QWidget*, const QString& title, const QString& prompt, const QString& initial)
{
    shown.append({QStringLiteral("input"), title + u'|' + prompt + u'|' + initial});
    if (inputAnswers.empty())
        return std::nullopt;
    const bool ok = inputAnswers.front().has_value();
    const QString text = ok ? *inputAnswers.front() : QString();
    inputAnswers.pop_front();
    if (!ok)
        return std::nullopt;
    return text;
}

QString FakeDialogs::openPicture(QWidget*, const QString& filter, const QString& folder)
{
    shown.append({QStringLiteral("picture"), filter + u'|' + folder});
    if (pictureAnswers.empty())
        return {};
    const QString answer = pictureAnswers.front();
    pictureAnswers.pop_front();
    return answer;
}

QString FakeDialogs::saveFile(QWidget*, const QString& title, const QString& suggested, const QString& filter)
{
    shown.append({QStringLiteral("save"), title + u'|' + suggested});
    saveFilters << filter;
    if (saveFileAnswers.empty())
        return {};
    const QString answer = saveFileAnswers.front();
    saveFileAnswers.pop_front();
    return answer;
}

void FakeDialogs::showModal(QDialog& window)
{
    shown.append({QStringLiteral("modal"), window.objectName()});
    if (modalScripts.empty()) {
        window.reject();
        return;
    }
    auto script = std::move(modalScripts.front());
    modalScripts.pop_front();
    constexpr int kStillOpen = -1;
    window.setResult(kStillOpen);
    // On screen as exec() would put it, without an event loop of its own.
    window.show();
    script(window);
    if (window.result() == kStillOpen)
        window.reject(); // the user closes what the script left open
}

QStringList FakeDialogs::texts(const QString& kind) const
{
    QStringList result;
    for (const Shown& s : shown) {
        if (s.kind == kind)
            result << s.text;
    }
    return result;
}
