#include "vorel/load/xml_source_reader.h"

#include <limits>

#include "vorel/load/pairing_warnings.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/data_fetch.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/skin/skin_reading.h"

namespace vorel {

void ReadXmlSources(TDeskletObject& d, const xml::Node& xmls) {
  // Fetches of the sources of a previous load must not outlive them.
  StopFetches(d.data);
  d.data.xmlSources.clear();
  const size_t n = CountNodes(xmls, "xml");
  if (n == 0) return;
  const TNodeTexts sources(xmls, "xml/@src"), intervals(xmls, "xml/@interval"), ownTemps(xmls, "xml/@usewintmp"),
      statements(xmls, "xml/@ongetdata");
  WarnOfPairingShifts(d, xmls, "xml", n,
                      {{"src", sources.Count()}, {"interval", intervals.Count()}, {"usewintmp", ownTemps.Count()},
                       {"ongetdata", statements.Count()}});
  std::vector<TXMLInfo> read(n);
  for (size_t k = 0; k < n; ++k) {
    TXMLInfo& source = read[k];
    source.Src = sources.At(k, "");
    source.Interval = IntInRange(ExpandVariables(d, intervals.At(k, "")), 60, 0, std::numeric_limits<int32_t>::max());
    source.Counter = source.Interval;
    source.Document = CreateXMLDocument();
    source.UseOwnTemp = !ReadBool(ExpandVariables(d, ownTemps.At(k, "0")));
    source.OnGetData = statements.At(k, "");
  }
  d.data.xmlSources = std::move(read);
  StartFetchWorker(d);
}

}  // namespace vorel
