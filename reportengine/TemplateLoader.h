#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class TfrxReport;

// Reads a report template from its JSON text. Sizes in the file are
// millimetres; font heights are pixels. A template with an unknown key, a
// missing size, a duplicate memo name or a reference to an undeclared data
// set is refused with a ReportError naming the place.
namespace TemplateLoader {

std::unique_ptr<TfrxReport> fromJson(const QByteArray& json, const QString& origin);
std::unique_ptr<TfrxReport> fromFile(const QString& path);

} // namespace TemplateLoader
