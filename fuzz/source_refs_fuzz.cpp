// The content-source references: the input's first line is a reference
// ("0[/rss/channel/title][' - '][/rss/item/title]", cut texts, separators,
// several segments) and the rest, when it is a well-formed document, the
// data of both of the desklet's two sources (a small feed otherwise). The
// reference is read in every "!XML" form. Malformed references and paths
// must come back as text or as the plug-in's own errors, never as a crash.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/desklet_harness.h"
#include "platform/xml/document.h"
#include "platform/xml/errors.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/source_transforms.h"
#include "vorel/util/errors.h"

namespace {

constexpr std::string_view kFeed =
    "<rss><channel><title>News</title><item><title>One</title><n>1</n></item>"
    "<item><title>Two &amp; more</title><n>2</n></item></channel></rss>";

std::shared_ptr<xml::Document> DocumentOf(std::string_view text) {
  auto document = std::make_shared<xml::Document>();
  if (text.empty() || !document->LoadXML(text)) document->LoadXML(kFeed);
  return document;
}

void Look(vorel::TDeskletObject& desklet, const std::string& source) {
  try {
    vorel::ApplyXmlSource(desklet, source);
  } catch (const vorel::KivError&) {
    // The ends a malformed reference may have: the plug-in's refusal, or a
    // path or stylesheet the XML library refuses, each with its message.
  } catch (const xml::XPathError&) {
  } catch (const xml::TransformError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::Prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t eol = input.find('\n');
  const std::string reference(input.substr(0, eol));
  const auto document = DocumentOf(eol == std::string_view::npos ? "" : input.substr(eol + 1));

  fuzzing::FuzzDesklet desklet;
  vorel::TDataState& sources = desklet.D().data;
  sources.xmlSources.resize(2);
  sources.xmlSources[0].Document = document;
  sources.xmlSources[1].Document = document;
  for (const char* form : {"!XML:", "!XMLTXT:", "!XMLTRANS:", "!XMLTRANSTXT:"}) Look(desklet.D(), form + reference);
  return 0;
}
