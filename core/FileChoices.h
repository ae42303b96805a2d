#pragma once

#include <QString>

class Session;

// What the program's file choosers offer, in the interface language, and
// where they start: in the folder of the last file chosen of that kind,
// kept in the settings file, or where the chooser itself starts.
class FileChoices
{
public:
    enum class Kind {
        Picture, // photos and pictures of tools and recipients
        Saved,   // backups and exported reports
    };

    explicit FileChoices(Session& session);

    // "Image (*.jpg *.jpeg *.bmp);;All files (*)" in the interface language.
    QString pictureFilter() const;
    // The last folder of that kind; empty when none was kept or it is gone.
    QString folder(Kind kind) const;
    // Keeps the folder of a chosen file; an empty text (cancelled) keeps nothing.
    void remember(Kind kind, const QString& chosenFile);
    // Keeps a folder the chooser ended in; an empty text keeps nothing.
    void rememberFolder(Kind kind, const QString& folder);
    // The suggested file's name in the last folder a file was saved to; the
    // suggestion itself when there is none.
    QString savePath(const QString& suggested) const;

private:
    Session& m_session;
};
