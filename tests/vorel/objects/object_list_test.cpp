// The layers collection: lookup by position and name, New and its names,
// Delete with renumbering, enumeration from JScript, and the enumerator's
// rules for Next and Skip.
#include <gmock/gmock.h>

#include "tests/support/test_host.h"
#include "tests/vorel/objects/object_fixture.h"
#include "vorel/script/objects/object_enumerator.h"
#include "vorel/script/objects/object_list.h"
#include "vorel/script/objects/script_layer.h"

using testhost::TestHost;
using ::testing::HasSubstr;

namespace objecttest {
namespace {

class ObjectListTest : public ObjectFixture {};

TEST_F(ObjectListTest, LookupByPositionAndName) {
  EXPECT_EQ(Eval("Layers.Count"), "4");
  EXPECT_EQ(Eval("Layers(0).Name + Layers.Item(1).Name + Layers('c').Name"), "abc");
  EXPECT_EQ(Eval("Layers(2.5).Name"), "c") << "halves round to even";
  EXPECT_EQ(Eval("Layers(false).Name"), "a") << "booleans are numbers";
  EXPECT_THAT(ErrorOf("Layers(true)"), HasSubstr("List index out of bounds (-1)")) << "true is -1";
  EXPECT_EQ(Eval("Layers(9) == null"), "True");
  EXPECT_EQ(Eval("Layers('none') == null"), "True");
  EXPECT_EQ(Eval("Layers('A') == null"), "True") << "names are exact";
  EXPECT_THAT(ErrorOf("Layers(-1)"), HasSubstr("List index out of bounds (-1)"));
}

TEST_F(ObjectListTest, NewReturnsAnExistingLayerOrMakesOne) {
  EXPECT_EQ(Eval("Layers.New('a', '!TXT:x', 1, 2, 0).Name"), "a");
  EXPECT_EQ(Eval("Layers.Count"), "4");
  EXPECT_EQ(CountOf("DeskletLayerAdd"), 0u);

  D().nextLayerNumber = 5;
  EXPECT_EQ(Eval("Layers.New('', '!TXT:auto', 3, 4, 0).Name"), "LID-5-0");
  EXPECT_EQ(Eval("Layers.Count"), "5");
  const vorel::TLayerObject& made = L("LID-5-0");
  EXPECT_EQ(made.X, 3);
  EXPECT_TRUE(made.Has(vorel::Visible)) << "on the current side";
  EXPECT_EQ(CountOf("DeskletLayerSetImage"), 0u) << "a new layer is not drawn";
  EXPECT_EQ(Eval("Layers.New('late', 'pic.png', 0, 0, 1).Visible"), "False");
  EXPECT_EQ(D().nextLayerNumber, 7);

  EXPECT_THAT(ErrorOf("Layers.New('big', '', 40000, 0, 0)"), HasSubstr("Range check error"));
  EXPECT_THAT(ErrorOf("Layers.New('side', '', 0, 0, 256)"), HasSubstr("Range check error"));
  EXPECT_THAT(ErrorOf("Layers.New('short')"), HasSubstr("Could not convert variant of type"));
  EXPECT_EQ(Eval("Layers.Count"), "6") << "refused layers are not added";
}

TEST_F(ObjectListTest, DeleteRenumbersTheRemainingLayers) {
  EXPECT_EQ(L("c").Id, 2u);
  EXPECT_EQ(Eval("Layers.Delete(0)"), "True");
  EXPECT_EQ(Eval("Layers.Delete('nothing')"), "False");
  EXPECT_EQ(Eval("Layers.Count"), "3");
  EXPECT_EQ(CountOf("DeskletLayerRemove"), 1u);
  EXPECT_EQ(L("b").Id, 0u);
  EXPECT_EQ(L("c").Id, 1u);
  EXPECT_EQ(L("d").Id, 2u);
}

TEST_F(ObjectListTest, EnumerationFromJScriptVisitsEveryLayerOnce) {
  Run("var names = ''; for (var e = new Enumerator(kiv.Layers); !e.atEnd(); e.moveNext()) names += e.item().Name;");
  EXPECT_EQ(Eval("names"), "abcd");
}

TEST_F(ObjectListTest, EnumeratorNextAndSkip) {
  auto list = vorel::TKivObjectList::Create(D(), vorel::TListKind::Layers);
  auto walker = automation::MakeObject<vorel::TObjectEnumerator>(list, 0);
  automation::Variant items[3];
  uint32_t fetched = 0;
  EXPECT_EQ(walker->Next(3, items, &fetched), automation::S_OK);
  EXPECT_EQ(fetched, 3u);
  EXPECT_EQ(walker->Next(3, items, &fetched), automation::S_FALSE);
  EXPECT_EQ(fetched, 1u);
  walker->Reset();
  EXPECT_EQ(walker->Skip(2), automation::S_OK);
  EXPECT_EQ(walker->Skip(9), automation::S_FALSE);
  EXPECT_EQ(walker->Next(1, items, &fetched), automation::S_OK) << "skipping past the end stays on the last layer";
  ASSERT_TRUE(items[0].IsObject());

  automation::IEnumVARIANT* copy = nullptr;
  walker->Reset();
  walker->Skip(1);
  ASSERT_EQ(walker->Clone(&copy), automation::S_OK);
  automation::ComPtr<automation::IEnumVARIANT> clone = automation::ComPtr<automation::IEnumVARIANT>::Attach(copy);
  EXPECT_EQ(clone->Next(3, items, &fetched), automation::S_OK) << "the clone starts where the original stood";
  EXPECT_EQ(walker->Next(3, items, &fetched), automation::S_OK) << "and moves on its own";
}

TEST_F(ObjectListTest, TheEnumeratorSeesLayersAddedMeanwhile) {
  auto list = vorel::TKivObjectList::Create(D(), vorel::TListKind::Layers);
  auto walker = automation::MakeObject<vorel::TObjectEnumerator>(list, 0);
  automation::Variant items[8];
  uint32_t fetched = 0;
  walker->Next(4, items, &fetched);
  Run("Layers.New('extra', '', 0, 0, 0)");
  EXPECT_EQ(walker->Next(8, items, &fetched), automation::S_FALSE);
  EXPECT_EQ(fetched, 1u);
}

TEST_F(ObjectListTest, DataSourcesArePositionsOnly) {
  auto sources = vorel::TKivObjectList::Create(D(), vorel::TListKind::XmlSources);
  EXPECT_EQ(sources->Count(), 0);
  EXPECT_THROW(sources->Item(automation::Variant(int32_t{-1})), std::exception) << "nothing at -1 to be had";
  sources->New(automation::Variant(""), automation::Variant("file:///x.xml"), automation::Variant(int32_t{0}),
               automation::Variant(""), automation::Variant());
  EXPECT_EQ(sources->Count(), 1);
  EXPECT_THROW(sources->Item(automation::Variant("first")), std::exception) << "a name is no position";
}

}  // namespace
}  // namespace objecttest
