#include "TfrxMemoView.h"

TfrxMemoView::TfrxMemoView(const QString& name)
    : m_name(name)
{
}

void TfrxMemoView::setDataField(const QString& dataSet, const QString& field)
{
    m_dataSet = dataSet;
    m_dataField = field;
}
