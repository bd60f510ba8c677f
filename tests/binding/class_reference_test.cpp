// doc_classes/Warfield.xml is what the editor's help shows for the class. It
// must describe exactly what the library registers (the editor would list an
// undocumented method with an empty description, and keep documenting one
// that is gone). That the debug library hands this very file to the editor's
// help is seen by the stand-in engine (tests/boundary/registration_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "register/method_table.h"
#include "type_names.h"

namespace warfield {
namespace {

std::string read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The type as the editor's doc tool writes it.
std::string doc_type(GDExtensionVariantType type) { return type_name(type, "int[]"); }

// One line per API item, in the doc's element order: what the doc tool
// writes for the class (descriptions aside). The property's setter and getter
// appear as the member, not as methods, as the doc tool lists them.
std::vector<std::string> registered_api() {
    std::vector<std::string> items;
    const gde::PropertyDef& property = warfield_grid_size_property();
    std::vector<std::string> methods;
    for (const gde::MethodDef& m : warfield_methods()) {
        if (std::string(m.name) == property.setter || std::string(m.name) == property.getter) continue;
        std::string line = std::string("method ") + m.name;
        if ((m.flags & GDEXTENSION_METHOD_FLAG_CONST) != 0) line += " const";
        line += " -> " + doc_type(m.has_return ? m.return_type : GDEXTENSION_VARIANT_TYPE_NIL) + " (";
        for (uint32_t a = 0; a < m.arg_count; ++a) {
            line += (a > 0 ? ", " : "") + std::string(m.arg_names[a]) + ": " + doc_type(m.arg_types[a]);
        }
        methods.push_back(line + ")");
    }
    std::sort(methods.begin(), methods.end());  // the doc tool sorts them by name
    items = methods;
    items.push_back(std::string("member ") + property.name + ": " + doc_type(property.type) + " set " +
                    property.setter + " get " + property.getter);
    for (const gde::ConstantDef& c : warfield_constants()) {
        items.push_back(std::string("constant ") + c.enum_name + "." + c.name + " = " + std::to_string(c.value));
    }
    return items;
}

std::string attribute(const std::string& element, const char* name) {
    const std::regex pattern(std::string(" ") + name + "=\"([^\"]*)\"");
    std::smatch match;
    return std::regex_search(element, match, pattern) ? match[1].str() : std::string("(none)");
}

// The same lines, read from the XML.
std::vector<std::string> documented_api(const std::string& xml) {
    std::vector<std::string> items;
    std::istringstream lines(xml);
    std::string method;  // the method being read, until </method>
    std::vector<std::string> params;
    std::string returns;
    for (std::string line; std::getline(lines, line);) {
        const auto start = line.find_first_not_of('\t');
        if (start == std::string::npos) continue;
        const std::string element = line.substr(start);
        if (element.rfind("<method ", 0) == 0) {
            method = "method " + attribute(element, "name");
            if (attribute(element, "qualifiers") == "const") method += " const";
            params.clear();
            returns = "(none)";
        } else if (element.rfind("<return ", 0) == 0) {
            returns = attribute(element, "type");
        } else if (element.rfind("<param ", 0) == 0) {
            EXPECT_EQ(attribute(element, "index"), std::to_string(params.size())) << method;
            params.push_back(attribute(element, "name") + ": " + attribute(element, "type"));
        } else if (element.rfind("</method>", 0) == 0) {
            std::string joined;
            for (size_t i = 0; i < params.size(); ++i) joined += (i > 0 ? ", " : "") + params[i];
            items.push_back(method + " -> " + returns + " (" + joined + ")");
        } else if (element.rfind("<member ", 0) == 0) {
            items.push_back("member " + attribute(element, "name") + ": " + attribute(element, "type") + " set " +
                            attribute(element, "setter") + " get " + attribute(element, "getter"));
        } else if (element.rfind("<constant ", 0) == 0) {
            items.push_back("constant " + attribute(element, "enum") + "." + attribute(element, "name") + " = " +
                            attribute(element, "value"));
        }
    }
    return items;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

TEST(ClassReference, DescribesExactlyWhatTheLibraryRegisters) {
    const std::string xml = read_file(WARFIELD_CLASS_XML);
    ASSERT_FALSE(xml.empty()) << WARFIELD_CLASS_XML;
    EXPECT_NE(xml.find("<class name=\"Warfield\" inherits=\"Node\""), std::string::npos);
    EXPECT_EQ(joined(documented_api(xml)), joined(registered_api()));
}

TEST(ClassReference, EveryItemIsDescribed) {
    // An empty <description> shows as "There is currently no description".
    const std::string xml = read_file(WARFIELD_CLASS_XML);
    const std::regex empty("<description>\\s*</description>|<brief_description>\\s*</brief_description>");
    std::smatch match;
    EXPECT_FALSE(std::regex_search(xml, match, empty)) << "an empty description at offset " << match.position(0);
    const std::regex member_or_constant("<(member|constant) [^>]*>\\s*</(member|constant)>");
    EXPECT_FALSE(std::regex_search(xml, match, member_or_constant)) << match.str(0);
}

}  // namespace
}  // namespace warfield
