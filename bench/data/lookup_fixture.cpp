#include "bench/data/lookup_fixture.h"

#include <libxml/xpath.h>

#include "bench/data/rss_feed.h"
#include "platform/xml/node_access.h"

namespace bench {

FeedDesklet::FeedDesklet(bool numbered) : desklet_(0x7300, 1), feed_(std::make_shared<xml::Document>()) {
  feed_->LoadXML(RssFeed());
  if (numbered) xmlXPathOrderDocElems(Doc());
  vorel::TXMLInfo source;
  source.Src = "http://127.0.0.1:9/feed.xml";
  source.Interval = 30;
  source.Document = feed_;
  desklet_.data.xmlSources.push_back(std::move(source));
}

bool FeedDesklet::Untouched() const {
  return desklet_.data.DocumentOf(0) == feed_ && desklet_.errorLog.Lines().empty();
}

// NOTE: reached through the xml folder's internal bridge; only read here.
xmlDoc* FeedDesklet::Doc() const {
  return reinterpret_cast<xmlDoc*>(xml::detail::NodeAccess::Raw(feed_->DocumentNode()));
}

FeedDesklet& PlainFeed() {
  static FeedDesklet feed(false);
  return feed;
}

FeedDesklet& NumberedFeed() {
  static FeedDesklet feed(true);
  return feed;
}

}  // namespace bench
