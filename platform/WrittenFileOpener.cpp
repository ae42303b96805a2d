#include "WrittenFileOpener.h"

#include "Dialogs.h"
#include "Platform.h"
#include "Shell.h"

#include <QDir>
#include <QFileInfo>

WrittenFileOpener::WrittenFileOpener(Platform& platform, Texts texts)
    : m_platform(platform)
    , m_texts(std::move(texts))
{
}

bool WrittenFileOpener::open(QWidget* parent, const QString& file) const
{
    if (m_platform.shell.open(file))
        return true;
    const QString shown = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    if (m_platform.dialogs.offer(parent, m_texts.notOpened.arg(shown), m_texts.openFolder)
        && !m_platform.shell.open(QFileInfo(file).absolutePath()))
        m_platform.dialogs.message(parent, m_texts.folderNotOpened.arg(shown));
    return false;
}
