// docs/usage.md lists every script method with its signature, as the method
// table declares it: the list is checked against the table, so a change of
// a field list changes the documentation or fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "register/method_table.h"
#include "type_names.h"

namespace warfield {
namespace {

// The type as a script declares it.
std::string script_type(GDExtensionVariantType type) { return type_name(type, "Array[int]"); }

// "- `name(arg: type, ...) -> result` *const* (#n)", as the document writes it.
std::string doc_line(const gde::MethodDef& m, size_t place) {
    std::ostringstream line;
    line << "- `" << m.name << "(";
    for (uint32_t a = 0; a < m.arg_count; ++a) {
        line << (a > 0 ? ", " : "") << m.arg_names[a] << ": " << script_type(m.arg_types[a]);
    }
    line << ") -> " << script_type(m.has_return ? m.return_type : GDEXTENSION_VARIANT_TYPE_NIL) << "`";
    if ((m.flags & GDEXTENSION_METHOD_FLAG_CONST) != 0) line << " *const*";
    line << " (#" << place << ")";
    return line.str();
}

std::vector<std::string> documented_methods() {
    std::ifstream doc(WARFIELD_USAGE_DOC);
    std::vector<std::string> lines;
    for (std::string line; std::getline(doc, line);) {
        if (line.rfind("- `", 0) != 0) continue;
        if (!line.empty() && line.back() == '\\') line.pop_back();  // a description follows
        lines.push_back(line);
    }
    return lines;
}

TEST(UsageDoc, ListsEveryMethodAsTheTableDeclaresIt) {
    const std::vector<std::string> documented = documented_methods();
    std::string expected_list;
    size_t place = 0;
    for (const gde::MethodDef& m : warfield_methods()) {
        const std::string line = doc_line(m, ++place);
        expected_list += line + "\n";
        EXPECT_EQ(std::count(documented.begin(), documented.end(), line), 1) << line;
    }
    EXPECT_EQ(documented.size(), place) << "the table's lines:\n" << expected_list;
}

}  // namespace
}  // namespace warfield
