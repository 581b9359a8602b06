// Parsing a skin-sized document through xml::Document against the bare
// libxml2 call, and the attribute query the parameter reader runs.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <string>

#include "platform/xml/document.h"

namespace {

// A root with 200 param elements of 4 attributes each and 4 side elements.
const std::string& SkinText() {
  static const std::string text = [] {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<skindata>\n  <parameters>\n";
    for (int i = 0; i < 200; ++i) {
      std::string n = std::to_string(i);
      s += "    <param name=\"param" + n + "\" value=\"value " + n + "\" save=\"1\" description=\"Parameter number " + n + "\"/>\n";
    }
    s += "  </parameters>\n  <sides>\n";
    for (int i = 0; i < 4; ++i)
      s += "    <side name=\"side" + std::to_string(i) + "\" width=\"200\" height=\"150\"/>\n";
    s += "  </sides>\n</skindata>\n";
    return s;
  }();
  return text;
}

void BM_DocumentLoadXml(benchmark::State& state) {
  const std::string& text = SkinText();
  for (auto _ : state) {
    xml::Document doc;
    bool ok = doc.LoadXML(text);
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * SkinText().size()));
}
BENCHMARK(BM_DocumentLoadXml);

void BM_BareXmlReadMemory(benchmark::State& state) {
  const std::string& text = SkinText();
  xmlInitParser();
  for (auto _ : state) {
    xmlDoc* doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    benchmark::DoNotOptimize(doc);
    xmlFreeDoc(doc);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * SkinText().size()));
}
BENCHMARK(BM_BareXmlReadMemory);

void BM_SelectParamNames(benchmark::State& state) {
  xml::Document doc;
  doc.LoadXML(SkinText());
  xml::Node root = doc.SelectSingleNode("skindata");
  for (auto _ : state) {
    std::vector<xml::Node> names = root.SelectNodes("parameters/param/@name");
    benchmark::DoNotOptimize(names.data());
  }
}
BENCHMARK(BM_SelectParamNames);

void BM_TransformValueOf(benchmark::State& state) {
  xml::Document doc;
  doc.LoadXML(SkinText());
  xml::Document style;
  style.LoadXML(
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:template match=\"/\"><xsl:value-of select=\"skindata/parameters/param[100]/@value\"/></xsl:template>"
      "</xsl:stylesheet>");
  for (auto _ : state) {
    std::string out = doc.TransformNode(style);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_TransformValueOf);

}  // namespace

BENCHMARK_MAIN();
