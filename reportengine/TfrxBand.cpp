#include "TfrxBand.h"

TfrxBand::TfrxBand(Kind kind, const QString& name)
    : m_kind(kind)
    , m_name(name)
{
}

TfrxMemoView& TfrxBand::addMemo(const QString& name)
{
    m_memos.push_back(std::make_unique<TfrxMemoView>(name));
    return *m_memos.back();
}

TfrxMemoView* TfrxBand::findMemo(const QString& name) const
{
    for (const auto& m : m_memos) {
        if (m->name() == name)
            return m.get();
    }
    return nullptr;
}
