#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

// Test-side docx access through libzip and pugixml directly, apart from the
// writer's own code, so a fault there cannot hide itself.
namespace docx {

using Parts = QList<QPair<QString, QByteArray>>;

// Every file of a zip by name; empty when the file is not a readable zip.
QMap<QString, QByteArray> readZip(const QString& path);
bool writeZip(const QString& path, const Parts& parts);

// A word/document.xml around the given body content.
QByteArray documentXml(const QString& body);
// A part (header or footer) with the given root element around its content.
QByteArray storyXml(const char* root, const QString& content);
// A minimal docx: content types, relationships, the main part, extra parts.
bool writeTemplate(const QString& path, const QString& body, const Parts& extra = {});

// Parses a part; fails the running test when it does not parse.
bool parse(const QByteArray& xml, pugi::xml_document& doc);

// All shown text (w:t) under a node, joined.
QString text(const pugi::xml_node& node);
// The first table's rows, each as its cells' texts.
QList<QStringList> tableTexts(const pugi::xml_document& doc);
// The rows (w:tr) of the first table.
QList<pugi::xml_node> tableRows(const pugi::xml_document& doc);
// Every paragraph's text outside tables.
QStringList paragraphTexts(const pugi::xml_document& doc);
// A node written out, for comparing formatting.
QString xml(const pugi::xml_node& node);

} // namespace docx
