#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Why a picture file could not be loaded; the text is chosen per language.
enum class PictureError {
    None,
    NotFound,    // no such file
    CannotRead,  // the file system refused (permissions, a folder, I/O)
    Damaged,     // JPEG/BMP header present but the data is broken or cut short
    Unsupported, // neither JPEG nor BMP, or a JPEG colour model we do not decode
    TooLarge,    // dimensions we refuse to allocate
};

struct LoadedPicture {
    QImage image;
    PictureError error = PictureError::None;
    QString fileName; // without the folder, for the message
    QString detail;   // the OS or decoder text, may be empty

    bool ok() const { return error == PictureError::None && !image.isNull(); }
    // The full text for a message box: the kind, the file name and the detail.
    QString message(bool russian) const;
};

// The sentence for one kind of failure, without file name or detail.
QString pictureErrorText(PictureError kind, bool russian);

// Reads a JPEG (through libjpeg) or a BMP, chosen by the file's first bytes.
LoadedPicture loadPicture(const QString& path);

// The whole source stretched onto exactly width x height, aspect not kept,
// in the source's pixel format. A null image when either side is not positive.
QImage ResizeBitmap(const QImage& source, int width, int height);

// Size of the photo kept in a tool or recipient row.
inline constexpr int StoredPhotoWidth = 184;
inline constexpr int StoredPhotoHeight = 195;

// The bytes for the Photo column: the image stretched to 184 x 195, as BMP.
// Empty for a null image.
QByteArray storedPhoto(const QImage& image);
