#include "DbImage.h"

#include "data/Query.h"

#include <QPixmap>

DbImage::DbImage(Query& query, const QString& field, QSize size, QWidget* parent)
    : QLabel(parent)
    , m_query(query)
    , m_field(field)
{
    setFixedSize(size);
    setScaledContents(true);
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    connect(&m_query, &Query::currentChanged, this, &DbImage::refresh);
    refresh();
}

void DbImage::refresh()
{
    QPixmap picture;
    if (m_query.isOpen() && !m_query.isEmpty() && m_query.hasField(m_field)) {
        const QByteArray bytes = m_query.blob(m_field);
        if (!bytes.isEmpty())
            picture.loadFromData(bytes);
    }
    m_hasPicture = !picture.isNull();
    if (m_hasPicture)
        setPixmap(picture);
    else
        clear();
}
