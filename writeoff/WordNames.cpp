#include "WordNames.h"

#include <cstring>

namespace {

constexpr const char* WordNamespace = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

} // namespace

WordNames::WordNames(const pugi::xml_document& part)
    : m_prefix("w:")
{
    for (const pugi::xml_attribute& a : part.document_element().attributes()) {
        if (std::strcmp(a.value(), WordNamespace) != 0)
            continue;
        const std::string name = a.name();
        if (name == "xmlns") {
            m_prefix.clear();
            return;
        }
        if (name.starts_with("xmlns:")) {
            m_prefix = name.substr(6) + ":";
            return;
        }
    }
}

bool WordNames::is(const pugi::xml_node& node, const char* local) const
{
    const char* name = node.name();
    return std::strncmp(name, m_prefix.data(), m_prefix.size()) == 0 && std::strcmp(name + m_prefix.size(), local) == 0;
}
