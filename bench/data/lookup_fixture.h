// The desklets the lookup benchmarks read from, and what they look up.
//
// libxslt numbers a document's elements (document order, kept in the
// nodes) on every transform, and XPath sorts node-sets faster once they
// are numbered. So that no figure depends on which benchmark ran first,
// plain lookups read a document no transform ever touches, as one fresh
// from a fetch is, and transforming lookups read one numbered from the
// start, as every transform leaves it; each bare figure reads the same
// document as the lookup it is set against.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>

#include "platform/xml/document.h"
#include "vorel/model/desklet.h"

namespace bench {

// A reference closes at the first "]", so expressions in one carry no
// predicates: one node, every item's title, and a search of the whole tree.
// Transforming, the titles' path gives the first title (a node-set's
// string value) and a count can be asked for.
inline const std::string kChannelTitle = "/rss/channel/title";
inline const std::string kAllTitles = "/rss/channel/item/title";
inline const std::string kEveryGuid = "//guid";
inline const std::string kItemCount = "count(/rss/channel/item)";

// A desklet whose one data source holds the parsed feed. The address leads
// nowhere: the source has a document and an interval, so a lookup must not
// load or fetch anything, and if one did the document would be replaced or
// an error logged, which Untouched() sees.
class FeedDesklet {
 public:
  explicit FeedDesklet(bool numbered);
  vorel::TDeskletObject& Desklet() { return desklet_; }
  bool Untouched() const;
  // The libxml2 document inside the source's xml::Document, so that bare
  // calls walk the very tree (and memory) the lookups walk.
  xmlDoc* Doc() const;

 private:
  vorel::TDeskletObject desklet_;
  std::shared_ptr<xml::Document> feed_;
};

FeedDesklet& PlainFeed();
FeedDesklet& NumberedFeed();

}  // namespace bench
