// The type library printer on a small library of its own: IDL
// declarations, the Markdown member tables, quoting and table escapes.
#include "tools/typelib-print/typelib_printer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using automation::OptionalParam;
using automation::Param;
using automation::RefParam;
using automation::Variant;
using automation::VarType;

constexpr automation::Guid kLib{0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
constexpr automation::Guid kIid{0xAAAA0002, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};
constexpr automation::Guid kClsid{0xAAAA0003, 0, 0, {0, 0, 0, 0, 0, 0, 0, 3}};

automation::TypeLibrary SampleLibrary() {
  automation::TypeLibrary library("Sample", "Sample Library", kLib, 2, 1);
  auto info = library.AddDualClass("Thing", kIid, kClsid);
  info->Method("Greet", 1, {Param("Who", VarType::String), OptionalParam("Loud", VarType::Bool, Variant(false))},
               VarType::String)
      .Doc("Says \"hi\" | waves")
      .Get("Name", 2, VarType::String)
      .Doc("The name")
      .Put("Name", 2, VarType::String)
      .Doc("The name")
      .Get("Size", 3, VarType::Int16)
      .Doc("The size")
      .Put("Size", 3, VarType::Int16)
      .Doc("Resizes the thing")
      .Method("Connect", 4, {RefParam("Obj", VarType::Variant), OptionalParam("Extra", VarType::Variant)})
      .Doc("Connects")
      .Get("Item", automation::DISPID_VALUE, VarType::Variant, {Param("Index", VarType::Variant)})
      .Doc("An element")
      .Get("_NewEnum", automation::DISPID_NEWENUM, VarType::Unknown)
      .Doc("An enumerator")
      .Method("Wait", 5, {Param("Ms", VarType::UInt32), OptionalParam("Mode", VarType::Int8, Variant(int8_t{-2}))})
      .Doc("Waits");
  return library;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(TypelibPrinterTest, IdlDeclaresTheLibraryInterfaceAndClass) {
  const std::string idl = typelib_print::PrintIdl(SampleLibrary());
  EXPECT_TRUE(Has(idl, "  uuid(11111111-2222-3333-4444-555555555555),\n  version(2.1),\n"
                       "  helpstring(\"Sample Library\")\n]\nlibrary Sample\n{"))
      << idl;
  EXPECT_TRUE(Has(idl, "    helpstring(\"Dispatch interface for Thing Object\"),\n    dual,\n    oleautomation\n"
                       "  ]\n  interface IThing : IDispatch\n"))
      << idl;
  EXPECT_TRUE(Has(idl, "    [id(1), helpstring(\"Says \\\"hi\\\" | waves\")]\n"
                       "    HRESULT Greet([in] BSTR Who, [in, optional, defaultvalue(0)] VARIANT_BOOL Loud, "
                       "[out, retval] BSTR* Result);\n"))
      << idl;
  EXPECT_TRUE(Has(idl, "    [id(2), propget, helpstring(\"The name\")]\n"
                       "    HRESULT Name([out, retval] BSTR* Value);\n"));
  EXPECT_TRUE(Has(idl, "    [id(2), propput, helpstring(\"The name\")]\n    HRESULT Name([in] BSTR Value);\n"));
  EXPECT_TRUE(Has(idl, "HRESULT Connect([in, out] VARIANT* Obj, [in, optional] VARIANT Extra);"));
  EXPECT_TRUE(Has(idl, "[id(0), propget, helpstring(\"An element\")]\n"
                       "    HRESULT Item([in] VARIANT Index, [out, retval] VARIANT* Value);"));
  EXPECT_TRUE(Has(idl, "[id(-4), propget, helpstring(\"An enumerator\")]\n"
                       "    HRESULT _NewEnum([out, retval] IUnknown** Value);"));
  EXPECT_TRUE(Has(idl, "HRESULT Wait([in] unsigned long Ms, [in, optional, defaultvalue(-2)] signed char Mode);"));
  EXPECT_TRUE(Has(idl, "  [\n    uuid(AAAA0003-0000-0000-0000-000000000003),\n    helpstring(\"Thing Object\")\n"
                       "  ]\n  coclass Thing\n  {\n    [default] interface IThing;\n  };\n"))
      << idl;
  EXPECT_EQ(idl.substr(idl.size() - 3), "};\n");
}

TEST(TypelibPrinterTest, MarkdownHasOneSectionPerClassWithItsMemberTable) {
  const std::string md = typelib_print::PrintMarkdown(SampleLibrary());
  EXPECT_EQ(md.rfind("# The Sample object model\n", 0), 0u) << md;
  EXPECT_TRUE(Has(md, "Library `Sample` (Sample Library), version 2.1, `{11111111-2222-3333-4444-555555555555}`."));
  EXPECT_TRUE(Has(md, "| [Thing](#thing) | `IThing` | `{AAAA0003-0000-0000-0000-000000000003}` |\n"));
  EXPECT_TRUE(Has(md, "## Thing\n\nThing Object. Class id `{AAAA0003-0000-0000-0000-000000000003}`.\n\n"
                      "Interface `IThing` (dual), `{AAAA0002-0000-0000-0000-000000000002}`: "
                      "Dispatch interface for Thing Object.\n\n"
                      "| Member | Kind | DispID | Parameters | Result | Description |\n|---|---|---|---|---|---|\n"))
      << md;
  // Pipes inside a cell are escaped so that the row keeps its columns.
  EXPECT_TRUE(
      Has(md, "| `Greet` | method | 1 | Who: string, [Loud: bool = false] | string | Says \"hi\" \\| waves |\n"))
      << md;
  // A get and a put described alike form one row; described apart, two.
  EXPECT_TRUE(Has(md, "| `Name` | get/put | 2 |  | string | The name |\n")) << md;
  EXPECT_FALSE(Has(md, "| `Name` | put |"));
  EXPECT_TRUE(Has(md, "| `Size` | get | 3 |  | int16 | The size |\n")) << md;
  EXPECT_TRUE(Has(md, "| `Size` | put | 3 | Value: int16 |  | Resizes the thing |\n")) << md;
  EXPECT_TRUE(Has(md, "| `Connect` | method | 4 | Obj: VARIANT (by reference), [Extra: VARIANT] |  | Connects |\n"))
      << md;
  EXPECT_TRUE(Has(md, "| `Item` | get | 0 | Index: VARIANT | VARIANT | An element |\n")) << md;
  EXPECT_TRUE(Has(md, "| `_NewEnum` | get | -4 |  | IUnknown | An enumerator |\n")) << md;
  EXPECT_TRUE(Has(md, "| `Wait` | method | 5 | Ms: uint32, [Mode: int8 = -2] |  | Waits |\n")) << md;
  ASSERT_GE(md.size(), 2u);
  EXPECT_EQ(md.back(), '\n');
  EXPECT_NE(md[md.size() - 2], '\n') << "one final newline";
}

TEST(TypelibPrinterTest, PrintingTwiceGivesTheSameText) {
  EXPECT_EQ(typelib_print::PrintMarkdown(SampleLibrary()), typelib_print::PrintMarkdown(SampleLibrary()));
  EXPECT_EQ(typelib_print::PrintIdl(SampleLibrary()), typelib_print::PrintIdl(SampleLibrary()));
}

TEST(TypelibPrinterTest, TypeNames) {
  EXPECT_EQ(typelib_print::IdlTypeName(VarType::UInt8), "unsigned char");
  EXPECT_EQ(typelib_print::IdlTypeName(VarType::Date), "DATE");
  EXPECT_EQ(typelib_print::IdlTypeName(VarType::Int32), "long");
  EXPECT_EQ(typelib_print::ScriptTypeName(VarType::UInt8), "byte");
  EXPECT_EQ(typelib_print::ScriptTypeName(VarType::Bool), "bool");
  EXPECT_EQ(typelib_print::ScriptTypeName(VarType::Empty), "");
}

TEST(TypelibPrinterTest, StringDefaultsAreQuoted) {
  automation::TypeLibrary library("L", "", kLib);
  library.AddDualClass("C", kIid, kClsid)
      ->Method("Run", 1, {OptionalParam("Verb", VarType::String, Variant("OPEN")),
                          OptionalParam("Path", VarType::String, Variant("a\\b\"c"))})
      .Doc("Runs");
  const std::string md = typelib_print::PrintMarkdown(library);
  EXPECT_TRUE(Has(md, "[Verb: string = \"OPEN\"], [Path: string = \"a\\\\b\\\"c\"]")) << md;
  const std::string idl = typelib_print::PrintIdl(library);
  EXPECT_TRUE(Has(idl, "[in, optional, defaultvalue(\"OPEN\")] BSTR Verb")) << idl;
  EXPECT_FALSE(Has(idl, "helpstring(\"\")"));
}

}  // namespace
