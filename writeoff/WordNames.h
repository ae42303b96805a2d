#pragma once

#include <pugixml.hpp>

#include <string>

// Element names of WordprocessingML in one part, with the prefix that part
// binds to the namespace (Word and LibreOffice write "w:", other tools may not).
class WordNames
{
public:
    explicit WordNames(const pugi::xml_document& part);

    // "w:" + local, or whatever prefix the part uses.
    std::string operator()(const char* local) const { return m_prefix + local; }
    bool is(const pugi::xml_node& node, const char* local) const;

private:
    std::string m_prefix;
};
