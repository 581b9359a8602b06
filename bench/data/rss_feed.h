// A made-up RSS 2.0 news feed of about 200 KB, built in memory so that
// every run reads the same bytes without a file or a network.
#pragma once

#include <string>

namespace bench {

inline constexpr int kFeedItems = 310;

// <rss><channel> with kFeedItems items, each with a title, link,
// description, pubDate and guid.
const std::string& RssFeed();

}  // namespace bench
