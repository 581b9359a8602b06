#include "bench/data/rss_feed.h"

#include <ctime>

namespace bench {
namespace {

// The newest item's date; older items follow an hour apart.
constexpr std::time_t kNewest = 1700000000;

std::string Rfc822Date(std::time_t when) {
  std::tm parts{};
  gmtime_r(&when, &parts);
  char text[64];
  std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
  return text;
}

// Descriptions vary in length like real summaries do, between about 250
// and 450 characters, with the odd entity in them.
std::string Description(int position) {
  static const char* const kSentences[] = {
      "Officials said the new timetable takes effect on Monday and covers every line in the region. ",
      "Residents gathered at the town hall to hear the plans for the harbour &amp; the old market. ",
      "The company reported results above expectations, citing strong demand over the winter. ",
      "Forecasters expect a dry week with temperatures well above the seasonal average. ",
      "Researchers published their findings after three years of measurements at the station. ",
  };
  std::string text;
  const int count = 3 + position % 3;
  for (int i = 0; i < count; ++i) text += kSentences[(position + i) % 5];
  text.pop_back();
  return text;
}

std::string Guid(int position) { return "https://news.example.com/items/" + std::to_string(position); }

std::string Item(int position) {
  const std::string n = std::to_string(position);
  return "    <item>\n"
         "      <title>Story " + n + ": council approves plan number " + n + "</title>\n"
         "      <link>https://news.example.com/stories/" + n + ".html</link>\n"
         "      <description>" + Description(position) + "</description>\n"
         "      <pubDate>" + Rfc822Date(kNewest - 3600L * position) + "</pubDate>\n"
         "      <guid>" + Guid(position) + "</guid>\n"
         "    </item>\n";
}

}  // namespace

const std::string& RssFeed() {
  static const std::string feed = [] {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<rss version=\"2.0\">\n  <channel>\n"
        "    <title>Example News</title>\n"
        "    <link>https://news.example.com/</link>\n"
        "    <description>The latest stories</description>\n"
        "    <lastBuildDate>" + Rfc822Date(kNewest) + "</lastBuildDate>\n";
    for (int position = 1; position <= kFeedItems; ++position) text += Item(position);
    text += "  </channel>\n</rss>\n";
    return text;
  }();
  return feed;
}

}  // namespace bench
