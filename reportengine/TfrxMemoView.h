#pragma once

#include "DisplayFormat.h"
#include "MemoStyle.h"
#include "MemoText.h"

#include <QRectF>
#include <QString>

// A named text box on a band. Geometry is in report units from the band's
// top-left corner. A memo bound to a field prints that field's value,
// formatted, whatever its text says.
class TfrxMemoView
{
public:
    enum class Stretch {
        None,
        ActualHeight, // grows to its own text in a stretched band
        MaxHeight,    // grows to the stretched band's full height
    };

    explicit TfrxMemoView(const QString& name);

    const QString& name() const { return m_name; }

    const QRectF& geometry() const { return m_geometry; }
    void setGeometry(const QRectF& units) { m_geometry = units; }

    MemoStyle& style() { return m_style; }
    const MemoStyle& style() const { return m_style; }

    // A run-time text: printed as it stands, brackets and all.
    void setText(const QString& text) { m_text = MemoText::literal(text); }
    // A template text: bracketed expressions are evaluated.
    void setExpressionText(const QString& text) { m_text = MemoText::expression(text); }
    const MemoText& text() const { return m_text; }

    void setDataField(const QString& dataSet, const QString& field);
    void clearDataField() { setDataField({}, {}); }
    bool isBound() const { return !m_dataSet.isEmpty() && !m_dataField.isEmpty(); }
    const QString& dataSet() const { return m_dataSet; }
    const QString& dataField() const { return m_dataField; }

    const DisplayFormat& displayFormat() const { return m_format; }
    void setDisplayFormat(const DisplayFormat& format) { m_format = format; }

    bool hideZeros() const { return m_hideZeros; }
    void setHideZeros(bool hide) { m_hideZeros = hide; }

    Stretch stretch() const { return m_stretch; }
    void setStretch(Stretch stretch) { m_stretch = stretch; }

private:
    QString m_name;
    QRectF m_geometry;
    MemoStyle m_style;
    MemoText m_text;
    QString m_dataSet;
    QString m_dataField;
    DisplayFormat m_format;
    bool m_hideZeros = false;
    Stretch m_stretch = Stretch::None;
};
