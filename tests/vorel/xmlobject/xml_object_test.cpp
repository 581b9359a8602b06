// The XML object and the XML sources collection, driven by JScript
// statements as a skin's scripts drive them: queries that find nothing,
// writes that make the path's elements, writes refused for web sources,
// saves that fail half-way, and the list changed while a download runs.
// The test acts as the window thread, handing posted messages over.
#include <gmock/gmock.h>
#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "platform/xml/document.h"
#include "tests/support/http_server.h"
#include "tests/support/scoped_env.h"
#include "tests/support/test_host.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/model/script_engine.h"

using namespace std::chrono_literals;
using testing::HasSubstr;

namespace xmlobjecttest {
namespace {

const std::string kNotes = "<notes><note id=\"1\">milk</note><note id=\"2\">bread</note></notes>";

class XmlObjectTest : public rendertest::DeskletFixture {
 protected:
  void LoadSources(const std::vector<std::string>& sources, const std::string& interval = "30") {
    std::string xmls;
    for (const std::string& src : sources)
      xmls += "<xml src=\"" + src + "\" interval=\"" + interval + "\" ongetdata=\"arrived++\"/>";
    LoadSkin("<skindata><skininfo><name>Notes</name></skininfo><sides><side id=\"0\" width=\"50\" height=\"20\"/>"
             "</sides><desklet><label>x</label></desklet><xmls>" + xmls + "</xmls></skindata>");
    ASSERT_TRUE(D().scripting.scriptEngine);
    Run("var arrived = 0");
    ASSERT_TRUE(Settle());
  }
  bool Settle() {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < end) {
      testhost::TestHost::Get().DeliverPosted();
      if (D().threads.Count() == 0 && D().data.activeFetches == 0 && testhost::TestHost::Get().Posted().empty())
        return true;
      std::this_thread::sleep_for(2ms);
    }
    return false;
  }
  void Run(const std::string& statement) { D().scripting.scriptEngine->ExecuteStatement(statement); }
  std::string Eval(const std::string& expression) { return D().scripting.scriptEngine->EvaluateToText(expression); }
  std::string ErrorOf(const std::string& statement) {
    try {
      Run(statement);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
  std::string Log() {
    std::string all;
    for (const std::string& line : D().errorLog.Lines()) all += line + "\n";
    return all;
  }

  testing_support::ScopedEnv cacheHome_{"XDG_CACHE_HOME", dir_.Path() + "cache"};
  testing_support::ScopedEnv temporary_{"TMPDIR", dir_.Path() + "tmp"};
  testing_support::WithoutProxy direct_;
  testing_support::HttpServer server_;
};

TEST_F(XmlObjectTest, QueriesThatMatchNothingGiveEmptyTextAndNoCount) {
  const std::string file = dir_.Write("notes.xml", kNotes);
  LoadSources({"file://" + file});
  Run("var x = XMLS.Item(0)");
  EXPECT_EQ(Eval("x.GetValue('[/notes/nothing]')"), "");
  EXPECT_EQ(Eval("x.GetValueCount('/notes/nothing')"), "0");
  EXPECT_EQ(Eval("x.GetValueCount('/notes/note')"), "2");
  EXPECT_EQ(Eval("x.GetValue('[/notes/note]')"), "milk\r\nbread");
  EXPECT_EQ(Eval("x.GetValue('[/notes/note]', ' | ')"), "milk | bread");
  EXPECT_EQ(Eval("x.GetValue('[/notes/note/@id]', ',')"), "1,2");
  EXPECT_EQ(Eval("x.ID"), "0");
}

TEST_F(XmlObjectTest, PathsStartingWithANumberReadThatSource) {
  const std::string a = dir_.Write("a.xml", "<v>first</v>");
  const std::string b = dir_.Write("b.xml", "<v>second</v>");
  LoadSources({"file://" + a, "file://" + b});
  EXPECT_EQ(Eval("XMLS.Item(1).GetValue('[/v]')"), "second");
  EXPECT_EQ(Eval("XMLS.Item(1).GetValue('0[/v]')"), "first");
}

TEST_F(XmlObjectTest, WritingMakesTheMissingElementsAndSavingKeepsTheRest) {
  const std::string file = dir_.Write("notes.xml", kNotes);
  LoadSources({"file://" + file});
  Run("var x = XMLS.Item(0)");
  EXPECT_EQ(Eval("x.ReadOnly"), "False");
  EXPECT_EQ(Eval("x.WriteTextValue('/notes/shop/list/first', 'eggs')"), "True");
  EXPECT_EQ(Eval("x.WriteAttribValue('/notes/shop', 'open', 'yes')"), "True");
  EXPECT_EQ(Eval("x.GetValue('[/notes/shop/list/first]')"), "eggs");
  EXPECT_EQ(Eval("x.SaveXML()"), "True");

  xml::Document saved;
  ASSERT_TRUE(saved.Load(file));
  EXPECT_EQ(saved.SelectSingleNode("/notes/shop/list/first").Text(), "eggs");
  EXPECT_EQ(saved.SelectSingleNode("/notes/shop").Attribute("open").value_or(""), "yes");
  EXPECT_EQ(saved.SelectNodes("/notes/note").size(), 2u) << "what was there stays";

  const std::string other = dir_.File("copy.xml");
  EXPECT_EQ(Eval("x.SaveXML('" + other + "')"), "True");
  EXPECT_TRUE(std::filesystem::exists(other));
}

TEST_F(XmlObjectTest, WritingBeforeTheSourceWasReadStartsFromTheFile) {
  const std::string file = dir_.Write("notes.xml", kNotes);
  LoadSources({"file://" + file});
  // As if nothing had been read yet: the write must not start from an
  // empty document and save away the user's notes.
  {
    std::lock_guard guard(D().data.lock);
    D().data.xmlSources[0].Document = std::make_shared<xml::Document>();
  }
  EXPECT_EQ(Eval("XMLS.Item(0).WriteTextValue('/notes/extra', 'x')"), "True");
  EXPECT_EQ(Eval("XMLS.Item(0).SaveXML()"), "True");
  xml::Document saved;
  ASSERT_TRUE(saved.Load(file));
  EXPECT_EQ(saved.SelectNodes("/notes/note").size(), 2u);
}

TEST_F(XmlObjectTest, WebSourcesRefuseWritesAndChangeNothing) {
  server_.Route("/notes.xml", {.body = kNotes});
  LoadSources({server_.Url("/notes.xml")});
  Run("var x = XMLS.Item(0)");
  EXPECT_EQ(Eval("x.ReadOnly"), "True");
  EXPECT_EQ(Eval("x.WriteTextValue('/notes/note', 'changed')"), "False");
  EXPECT_EQ(Eval("x.WriteAttribValue('/notes/note', 'a', 'b')"), "False");
  EXPECT_EQ(Eval("x.SaveXML('" + dir_.File("out.xml") + "')"), "False");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.xml")));
  EXPECT_EQ(Eval("x.GetValue('[/notes/note]', ',')"), "milk,bread");
}

TEST_F(XmlObjectTest, AnInvalidPathIsAFalseAnswerAndALogLine) {
  const std::string file = dir_.Write("notes.xml", kNotes);
  LoadSources({"file://" + file});
  EXPECT_EQ(Eval("XMLS.Item(0).WriteTextValue('/notes/[', 'x')"), "False");
  EXPECT_EQ(Eval("XMLS.Item(0).WriteTextValue('//note', 'x', 3)"), "False");
  EXPECT_THAT(Log(), HasSubstr("writing /notes/["));
}

TEST_F(XmlObjectTest, ASaveThatFailsHalfWayLeavesTheOldFileWhole) {
  std::string big = "<notes>";
  for (int i = 0; i < 2000; ++i) big += "<note>" + std::to_string(i) + "</note>";
  big += "</notes>";
  const std::string file = dir_.Write("notes.xml", big);
  LoadSources({"file://" + file});
  ASSERT_EQ(Eval("XMLS.Item(0).WriteTextValue('/notes/extra', 'more')"), "True");

  // Files may grow to 4 KiB only: the write of the temporary file fails.
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string answer = Eval("XMLS.Item(0).SaveXML()");
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);

  EXPECT_EQ(answer, "False");
  EXPECT_EQ(testing_support::TempDir::Read(file), big);
  EXPECT_THAT(Log(), HasSubstr("saving " + file));
  for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
    EXPECT_THAT(entry.path().filename().string(), testing::Not(HasSubstr("notes.xml."))) << "no temporary is left";
}

TEST_F(XmlObjectTest, ResetKeepsTheFileOfALocalSource) {
  const std::string file = dir_.Write("notes.xml", kNotes);
  LoadSources({"file://" + file});
  Run("XMLS.Item(0).Reset()");
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(testing_support::TempDir::Read(file), kNotes);
}

TEST_F(XmlObjectTest, ResetDeletesTheCachedCopyOfAWebSource) {
  server_.Route("/notes.xml", {.body = kNotes});
  LoadSources({server_.Url("/notes.xml")});
  std::string cache;
  {
    std::lock_guard guard(D().data.lock);
    cache = D().data.xmlSources[0].CacheFile;
  }
  ASSERT_TRUE(std::filesystem::exists(cache));
  EXPECT_EQ(Eval("XMLS.Item(0).IsDataOLD"), "False");
  const std::string written = Eval("XMLS.Item(0).GetAgeOfXML()");
  Run("XMLS.Item(0).Reset()");
  EXPECT_FALSE(std::filesystem::exists(cache));
  EXPECT_EQ(Eval("XMLS.Item(0).IsDataOLD"), "True");
  const std::string none = Eval("XMLS.Item(0).GetAgeOfXML()");
  EXPECT_NE(none, written);
  EXPECT_THAT(none, HasSubstr("1899")) << "the zero date";
}

TEST_F(XmlObjectTest, ClearXmlLeavesOneRootElement) {
  const std::string file = dir_.Write("notes.xml", kNotes);
  LoadSources({"file://" + file});
  Run("XMLS.Item(0).ClearXML()");
  EXPECT_EQ(Eval("XMLS.Item(0).GetValueCount('/root')"), "1");
  EXPECT_EQ(Eval("XMLS.Item(0).GetValueCount('/notes')"), "0");
}

TEST_F(XmlObjectTest, PropertiesReadBackAndRefuseNegativeTimes) {
  LoadSources({"http://127.0.0.1:1/none.xml"}, "0");
  Run("var x = XMLS.Item(0)");
  Run("x.UseWinTemp = false");
  EXPECT_EQ(Eval("x.UseWinTemp"), "False");
  Run("x.UseWinTemp = true");
  EXPECT_EQ(Eval("x.UseWinTemp"), "True");
  Run("x.Time = 5");
  EXPECT_EQ(Eval("x.Time"), "5");
  EXPECT_THAT(ErrorOf("x.Time = -1"), HasSubstr("Range check error"));
  Run("x.Src = 'file:///tmp/x.xml'; x.OnGetData = 'y = 1'");
  EXPECT_EQ(Eval("x.Src"), "file:///tmp/x.xml");
  EXPECT_EQ(Eval("x.OnGetData"), "y = 1");
  EXPECT_EQ(Eval("x.ReadOnly"), "False");
}

TEST_F(XmlObjectTest, TheCollectionAddsDeletesAndFindsByPosition) {
  const std::string a = dir_.Write("a.xml", "<v>a</v>");
  const std::string b = dir_.Write("b.xml", "<v>b</v>");
  LoadSources({"file://" + a});
  EXPECT_EQ(Eval("XMLS.Count"), "1");
  Run("var n = XMLS.New('', 'file://" + b + "', 0, 'added = 1')");
  EXPECT_EQ(Eval("XMLS.Count"), "2");
  EXPECT_EQ(Eval("n.ID"), "1");
  EXPECT_EQ(Eval("n.UseWinTemp"), "True");
  EXPECT_EQ(Eval("n.GetValue('[/v]')"), "b");
  EXPECT_EQ(Eval("XMLS(7) == null"), "True");
  EXPECT_THAT(ErrorOf("XMLS.Item(-1)"), HasSubstr("Range check error"));
  EXPECT_THAT(ErrorOf("XMLS.New('', 'x', -5, '')"), HasSubstr("Range check error"));
  Run("var seen = ''; for (var e = new Enumerator(XMLS); !e.atEnd(); e.moveNext()) seen += e.item().GetValue('[/v]')");
  EXPECT_EQ(Eval("seen"), "ab");

  // An object refers to its position: deleting the first makes the
  // object of position 0 see the second source.
  Run("var first = XMLS.Item(0)");
  EXPECT_EQ(Eval("XMLS.Delete(0)"), "True");
  EXPECT_EQ(Eval("XMLS.Count"), "1");
  EXPECT_EQ(Eval("first.GetValue('[/v]')"), "b");
  EXPECT_EQ(Eval("XMLS.Delete(3)"), "False");
  // Beyond the list an object does nothing.
  EXPECT_EQ(Eval("n.GetValueCount('/v')"), "0");
  EXPECT_EQ(Eval("n.WriteTextValue('/v', 'x')"), "False");
}

TEST_F(XmlObjectTest, NewAndDeleteWhileADownloadRuns) {
  server_.Route("/slow.xml", {.body = kNotes, .delay = 800ms});
  server_.Route("/other.xml", {.body = "<v>other</v>"});
  LoadSkin("<skindata><skininfo><name>Notes</name></skininfo><sides><side id=\"0\" width=\"50\" height=\"20\"/>"
           "</sides><desklet><label>x</label></desklet><xmls><xml src=\"" + server_.Url("/slow.xml") +
           "\" interval=\"30\"/><xml src=\"" + server_.Url("/other.xml") + "\" interval=\"30\"/></xmls></skindata>");
  ASSERT_TRUE(server_.WaitForRequests(1, 5s));
  ASSERT_GT(D().data.activeFetches.load(), 0) << "the download is under way";

  for (int i = 0; i < 20; ++i) Run("XMLS.New('', '" + server_.Url("/other.xml") + "', 30, '')");
  EXPECT_EQ(Eval("XMLS.Count"), "22");
  EXPECT_EQ(Eval("XMLS.Delete(0)"), "True");
  EXPECT_EQ(Eval("XMLS.Delete(20)"), "True");
  EXPECT_EQ(Eval("XMLS.Count"), "20");
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Eval("XMLS.Item(0).GetValue('[/v]')"), "other");
  EXPECT_THAT(Log(), testing::Not(HasSubstr("fetching"))) << "a download stopped on purpose is no failure";
}

TEST_F(XmlObjectTest, ForceGetDataFetchesThisSourceAgain) {
  server_.Route("/notes.xml", {.body = kNotes});
  LoadSources({server_.Url("/notes.xml")});
  const size_t before = server_.Requests().size();
  server_.Route("/notes.xml", {.body = "<notes><note>new</note></notes>"});
  Run("XMLS.Item(0).ForceGetData()");
  ASSERT_TRUE(Settle());
  EXPECT_EQ(server_.Requests().size(), before + 1);
  EXPECT_EQ(Eval("XMLS.Item(0).GetValue('[/notes/note]')"), "new");
}

}  // namespace
}  // namespace xmlobjecttest
