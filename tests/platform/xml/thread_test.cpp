// Separate documents used from several threads at once: parsing, XPath,
// changes, transforms and saving must not interfere.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/xml/document.h"
#include "platform/xml/errors.h"

namespace {

TEST(XmlThreads, SeparateDocumentsOnSeveralThreads) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 40;
  std::random_device random;
  std::filesystem::path folder = std::filesystem::temp_directory_path() / ("kiv-xml-threads-" + std::to_string(random()));
  std::filesystem::create_directories(folder);
  std::atomic<int> failures{0};

  auto work = [&](int id) {
    xml::Document style;
    if (!style.LoadXML("<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                       "<xsl:output method=\"text\"/><xsl:template match=\"/\"><xsl:value-of select=\"sum(//v)\"/>"
                       "</xsl:template></xsl:stylesheet>"))
      ++failures;
    for (int round = 0; round < kRounds; ++round) {
      std::string text = "<root thread=\"" + std::to_string(id) + "\">";
      for (int i = 1; i <= 10; ++i) text += "<v>" + std::to_string(i * (id + 1)) + "</v>";
      text += "</root>";
      xml::Document doc;
      if (!doc.LoadXML(text)) ++failures;
      if (doc.SelectNodes("root/v").size() != 10) ++failures;
      if (doc.SelectSingleNode("root/@thread").Text() != std::to_string(id)) ++failures;
      if (doc.TransformNode(style) != std::to_string(55 * (id + 1))) ++failures;
      xml::Document broken;
      if (broken.LoadXML("<root><v></root>") || broken.ParseError().empty()) ++failures;
      try {
        doc.SelectNodes("root/[");
        ++failures;
      } catch (const xml::XPathError& e) {
        if (std::string(e.what()) != "Invalid expression") ++failures;
      }
      doc.FindOrCreateNode("/root/made/here").SetText("r" + std::to_string(round));
      std::string path = (folder / ("t" + std::to_string(id) + ".xml")).string();
      doc.Save(path);
      xml::Document again;
      if (!again.Load(path) || again.SelectSingleNode("root/made/here").Text() != "r" + std::to_string(round))
        ++failures;
    }
  };
  std::vector<std::thread> threads;
  for (int id = 0; id < kThreads; ++id) threads.emplace_back(work, id);
  for (std::thread& t : threads) t.join();
  std::filesystem::remove_all(folder);
  EXPECT_EQ(failures.load(), 0);
}

TEST(XmlThreads, NodesHandedToAnotherThreadKeepTheirTree) {
  xml::Node node;
  {
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXML("<a><b>kept</b></a>"));
    node = doc.SelectSingleNode("a/b");
  }
  std::string seen;
  std::thread reader([&] { seen = node.Text(); node = xml::Node(); });
  reader.join();
  EXPECT_EQ(seen, "kept");
}

}  // namespace
