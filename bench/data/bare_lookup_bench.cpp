// The least the lookups' answers cost: libxml2 evaluating the expression
// on the same parsed document and reading its string value, everything
// made and freed each time; and for the transforming lookups libxslt
// applying a value-of stylesheet compiled once, and compiled every time,
// to show what compiling adds and what libxslt itself needs per transform.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <string>

#include "bench/data/lookup_fixture.h"

namespace {

using bench::FeedDesklet;

std::string Take(xmlChar* text) {
  std::string copy = text != nullptr ? reinterpret_cast<const char*>(text) : "";
  xmlFree(text);
  return copy;
}

// The expression's string value; with joinAll, the string values of every
// node it selects joined by line breaks, as a "!XML" lookup gives them.
std::string XPathText(xmlDoc* doc, const std::string& xpath, bool joinAll) {
  xmlXPathContext* context = xmlXPathNewContext(doc);
  xmlXPathObject* result = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(xpath.c_str()), context);
  std::string text;
  if (result != nullptr && joinAll && result->type == XPATH_NODESET && result->nodesetval != nullptr) {
    const xmlNodeSet* set = result->nodesetval;
    for (int i = 0; i < set->nodeNr; ++i) {
      if (i > 0) text += "\r\n";
      text += Take(xmlXPathCastNodeToString(set->nodeTab[i]));
    }
  } else if (result != nullptr) {
    text = Take(xmlXPathCastToString(result));
  }
  xmlXPathFreeObject(result);
  xmlXPathFreeContext(context);
  return text;
}

void BM_BareXPath(benchmark::State& state, FeedDesklet& (*feed)(), const std::string& xpath, bool joinAll) {
  xmlDoc* doc = feed().Doc();
  std::string answer;
  for (auto _ : state) {
    answer = XPathText(doc, xpath, joinAll);
    benchmark::DoNotOptimize(answer.data());
  }
  if (answer.empty()) state.SkipWithError("the expression found nothing");
  state.counters["chars"] = static_cast<double>(answer.size());
}
// Against the plain lookups, on their document.
BENCHMARK_CAPTURE(BM_BareXPath, channel_title, bench::PlainFeed, bench::kChannelTitle, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareXPath, all_titles, bench::PlainFeed, bench::kAllTitles, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareXPath, every_guid, bench::PlainFeed, bench::kEveryGuid, true)->Unit(benchmark::kMicrosecond);
// Against the transforming lookups, on theirs.
BENCHMARK_CAPTURE(BM_BareXPath, trans_channel_title, bench::NumberedFeed, bench::kChannelTitle, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareXPath, trans_first_title, bench::NumberedFeed, bench::kAllTitles, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareXPath, trans_item_count, bench::NumberedFeed, bench::kItemCount, false)
    ->Unit(benchmark::kMicrosecond);

// The select attribute is written in single quotes.
std::string ValueOfStylesheet(const std::string& xpath) {
  std::string select;
  for (char c : xpath) {
    if (c == '\'') select += "&apos;";
    else if (c == '&') select += "&amp;";
    else if (c == '<') select += "&lt;";
    else select += c;
  }
  return "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
         "<xsl:template match=\"/\"><xsl:value-of select='" + select + "'/></xsl:template>"
         "</xsl:stylesheet>";
}

xsltStylesheet* Compile(const std::string& text) {
  xmlDoc* styleDoc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, XML_PARSE_NONET);
  return styleDoc != nullptr ? xsltParseStylesheetDoc(styleDoc) : nullptr;  // owns styleDoc from here
}

std::string ApplyAndSerialise(xsltStylesheet* style, xmlDoc* doc) {
  xmlDoc* output = xsltApplyStylesheet(style, doc, nullptr);
  xmlChar* raw = nullptr;
  int size = 0;
  std::string text;
  if (output != nullptr && xsltSaveResultToString(&raw, &size, output, style) == 0 && raw != nullptr)
    text.assign(reinterpret_cast<const char*>(raw), static_cast<size_t>(size));
  xmlFree(raw);
  xmlFreeDoc(output);
  return text;
}

void BM_BareXsltApply(benchmark::State& state, const std::string& xpath) {
  xmlDoc* doc = bench::NumberedFeed().Doc();
  xsltStylesheet* style = Compile(ValueOfStylesheet(xpath));
  if (style == nullptr) {
    state.SkipWithError("the stylesheet does not compile");
    return;
  }
  std::string answer;
  for (auto _ : state) {
    answer = ApplyAndSerialise(style, doc);
    benchmark::DoNotOptimize(answer.data());
  }
  xsltFreeStylesheet(style);
  if (answer.empty()) state.SkipWithError("the transform gave nothing");
}
BENCHMARK_CAPTURE(BM_BareXsltApply, channel_title, bench::kChannelTitle)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareXsltApply, first_title, bench::kAllTitles)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareXsltApply, item_count, bench::kItemCount)->Unit(benchmark::kMicrosecond);

void BM_BareXsltCompileAndApply(benchmark::State& state, const std::string& xpath) {
  xmlDoc* doc = bench::NumberedFeed().Doc();
  const std::string text = ValueOfStylesheet(xpath);
  std::string answer;
  for (auto _ : state) {
    xsltStylesheet* style = Compile(text);
    answer = ApplyAndSerialise(style, doc);
    xsltFreeStylesheet(style);
    benchmark::DoNotOptimize(answer.data());
  }
  if (answer.empty()) state.SkipWithError("the transform gave nothing");
}
BENCHMARK_CAPTURE(BM_BareXsltCompileAndApply, channel_title, bench::kChannelTitle)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareXsltCompileAndApply, first_title, bench::kAllTitles)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareXsltCompileAndApply, item_count, bench::kItemCount)->Unit(benchmark::kMicrosecond);

// libxslt's own work per transform on this document whatever the
// stylesheet asks: numbering every element for document order.
void BM_BareOrderDocElems(benchmark::State& state) {
  xmlDoc* doc = bench::NumberedFeed().Doc();
  for (auto _ : state) benchmark::DoNotOptimize(xmlXPathOrderDocElems(doc));
}
BENCHMARK(BM_BareOrderDocElems)->Unit(benchmark::kMicrosecond);

}  // namespace
