// The refresh schedule of the data sources: once a minute the ticker
// counts every scheduled source's minutes and has the due ones fetched.
#pragma once

#include <vector>

#include "vorel/model/xml_source_record.h"

namespace vorel {

class TDeskletObject;

// Counts a minute for every source with an interval; true when one of them
// was due (its count plus one reached its interval). The caller holds the
// data state's lock.
bool CountDataMinute(std::vector<TXMLInfo>& sources);

// Starts a worker that runs the minute's count and, when a source is due
// and no fetch is under way, asks the window thread to fetch the sources
// (MSG_FETCH_DATA).
void StartDataDueCheck(TDeskletObject& desklet);

}  // namespace vorel
