#include "EditorPhotos.h"

#include "widgets/ImageFolder.h"
#include "widgets/PictureFile.h"

ImportPhotos editorPhotos(const QString& dataFolder, bool russian)
{
    ImportPhotos photos;
    photos.load = [russian](const QString& file, QString* error) {
        const LoadedPicture picture = loadPicture(file);
        if (!picture.ok()) {
            *error = picture.message(russian);
            return QByteArray();
        }
        return storedPhoto(picture.image);
    };
    photos.keep = [dataFolder](const QString& file, const QString& identity, QString* error) {
        return copyPictureInto(file, toolImagesFolderIn(dataFolder, identity), error);
    };
    return photos;
}
