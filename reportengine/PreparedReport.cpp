#include "PreparedReport.h"

int PreparedReport::styleIndex(const MemoStyle& style)
{
    for (size_t i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i] == style)
            return static_cast<int>(i);
    }
    m_styles.push_back(style);
    return static_cast<int>(m_styles.size() - 1);
}

QStringList PreparedReport::texts() const
{
    QStringList out;
    for (const PreparedPage& page : pages) {
        for (const PreparedBand& band : page.bands) {
            for (const PreparedItem& item : band.items)
                out << item.text;
        }
    }
    return out;
}
