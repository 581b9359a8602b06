// The Vorel type library as a whole: its name and identifiers, the twelve
// dual interfaces with their classes and documentation strings, lookups by
// name, and code bound to the declared interfaces through dispatch tables.
#include "vorel/typelib/vorel_type_library.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <utility>

#include "platform/automation/dispatch_call.h"
#include "platform/automation/dispatch_object.h"
#include "platform/automation/error_info.h"

namespace {

using automation::Guid;
using automation::MemberKind;
using automation::Variant;

struct ExpectedClass {
  const char* name;
  Guid iid;
  Guid clsid;
};

const ExpectedClass kClasses[] = {
    {"VorelMain", vorel::kIidIVorelMain, vorel::kClsidVorelMain},
    {"KivScriptLayer", vorel::kIidIKivScriptLayer, vorel::kClsidKivScriptLayer},
    {"KivScriptControl", vorel::kIidIKivScriptControl, vorel::kClsidKivScriptControl},
    {"VorelParam", vorel::kIidIVorelParam, vorel::kClsidVorelParam},
    {"VorelSide", vorel::kIidIVorelSide, vorel::kClsidVorelSide},
    {"KivObjectList", vorel::kIidIKivObjectList, vorel::kClsidKivObjectList},
    {"VorelXML", vorel::kIidIVorelXML, vorel::kClsidVorelXML},
    {"VorelTimer", vorel::kIidIVorelTimer, vorel::kClsidVorelTimer},
    {"VorelIO", vorel::kIidIVorelIO, vorel::kClsidVorelIO},
    {"VorelUI", vorel::kIidIVorelUI, vorel::kClsidVorelUI},
    {"VorelMainMenu", vorel::kIidIVorelMainMenu, vorel::kClsidVorelMainMenu},
    {"VorelMenuItem", vorel::kIidIVorelMenuItem, vorel::kClsidVorelMenuItem},
};

TEST(TypeLibraryTest, LibraryNameHelpStringAndVersion) {
  const automation::TypeLibrary& library = vorel::VorelTypeLibrary();
  EXPECT_EQ(library.Name(), "Vorel");
  EXPECT_EQ(library.HelpString(), "Vorel Library");
  EXPECT_EQ(library.Libid(), vorel::kLibidVorel);
  EXPECT_EQ(library.MajorVersion(), 1);
  EXPECT_EQ(library.MinorVersion(), 0);
  EXPECT_EQ(&library, &vorel::VorelTypeLibrary());
}

TEST(TypeLibraryTest, TwelveDualClassesWithTheirInterfacesAndDocumentation) {
  const automation::TypeLibrary& library = vorel::VorelTypeLibrary();
  ASSERT_EQ(library.CoClasses().size(), std::size(kClasses));
  ASSERT_EQ(library.Interfaces().size(), std::size(kClasses));
  size_t index = 0;
  for (const ExpectedClass& expected : kClasses) {
    SCOPED_TRACE(expected.name);
    const automation::CoClassInfo& coClass = library.CoClasses()[index];
    EXPECT_EQ(coClass.name, expected.name);
    EXPECT_EQ(coClass.clsid, expected.clsid);
    EXPECT_EQ(coClass.doc, std::string(expected.name) + " Object");
    ASSERT_EQ(coClass.interfaces.size(), 1u);
    EXPECT_TRUE(coClass.sources.empty());
    const automation::InterfaceInfo& info = *coClass.interfaces[0];
    EXPECT_EQ(&info, library.Interfaces()[index].get());
    EXPECT_EQ(info.Name(), std::string("I") + expected.name);
    EXPECT_EQ(info.Iid(), expected.iid);
    EXPECT_EQ(info.Doc(), std::string("Dispatch interface for ") + expected.name + " Object");
    EXPECT_TRUE(info.IsDual());
    EXPECT_FALSE(info.Members().empty());
    EXPECT_EQ(library.FindCoClass(expected.clsid), &coClass);
    EXPECT_EQ(library.FindInterface(expected.iid), &info);
    ++index;
  }
  EXPECT_EQ(library.FindCoClass("VorelMain")->doc, "VorelMain Object");
  EXPECT_EQ(library.FindInterface("IVorelMain")->Doc(), "Dispatch interface for VorelMain Object");
}

TEST(TypeLibraryTest, IdentifiersAreDistinctAndNotNull) {
  std::unordered_set<Guid, automation::GuidHash> seen{vorel::kLibidVorel};
  for (const ExpectedClass& c : kClasses) {
    EXPECT_FALSE(c.iid.IsNull());
    EXPECT_FALSE(c.clsid.IsNull());
    EXPECT_TRUE(seen.insert(c.iid).second) << c.name;
    EXPECT_TRUE(seen.insert(c.clsid).second) << c.name;
  }
  EXPECT_EQ(seen.size(), 25u);
  EXPECT_FALSE(vorel::kLibidVorel.IsNull());
  // Registrations written into the registry carry the texts; they must not drift.
  EXPECT_EQ(automation::ToString(vorel::kLibidVorel), "{0366ED07-C05B-4246-BA2B-AC75B91B4104}");
  EXPECT_EQ(automation::ToString(vorel::kClsidVorelMain), "{FBB1C5B4-0C1F-4CAE-9FBF-7956034188F7}");
}

TEST(TypeLibraryTest, InterfaceLookupIgnoresCaseAndRejectsUnknownNames) {
  auto main = vorel::VorelInterface("IVorelMain");
  ASSERT_TRUE(main);
  EXPECT_EQ(main.get(), vorel::VorelTypeLibrary().Interfaces()[0].get());
  EXPECT_EQ(vorel::VorelInterface("ivorelmain"), main);
  EXPECT_EQ(vorel::VorelInterface("IKIVOBJECTLIST")->Iid(), vorel::kIidIKivObjectList);
  EXPECT_THROW(vorel::VorelInterface("VorelMain"), std::logic_error);
  EXPECT_THROW(vorel::VorelInterface(""), std::logic_error);
  EXPECT_THROW(vorel::VorelInterface("IVorelMainX"), std::logic_error);
  EXPECT_EQ(vorel::VorelTypeLibrary().FindCoClass("vorelmenuitem")->clsid, vorel::kClsidVorelMenuItem);
}

TEST(TypeLibraryTest, MemberNamesResolveWithoutRegardToCase) {
  auto main = vorel::VorelInterface("IVorelMain");
  EXPECT_EQ(main->IdOfName("deskletlabel"), 2);
  EXPECT_EQ(main->IdOfName("ALERT"), 1);
  EXPECT_EQ(main->IdOfName("flipto"), 34);
  EXPECT_FALSE(main->IdOfName("NoSuchMember"));
  auto layer = vorel::VorelInterface("IKivScriptLayer");
  EXPECT_EQ(layer->IdOfName("ONMOUSECLICK"), 6);
  EXPECT_EQ(layer->IdOfName("onmousedown"), 29);
  EXPECT_EQ(layer->ParamIdOfName(25, "callback"), 6);
  auto list = vorel::VorelInterface("IKivObjectList");
  EXPECT_EQ(list->IdOfName("item"), 0);
  EXPECT_EQ(list->IdOfName("_newenum"), -4);
  EXPECT_EQ(vorel::VorelInterface("IVorelXML")->ParamIdOfName(14, "ATRIBUTE"), 1);
}

TEST(TypeLibraryTest, EachDispatchIdBelongsToOneNameAndEachAccessorAppearsOnce) {
  for (const auto& info : vorel::VorelTypeLibrary().Interfaces()) {
    std::set<std::pair<automation::DispId, MemberKind>> accessors;
    for (const automation::MemberInfo& m : info->Members()) {
      EXPECT_TRUE(accessors.insert({m.id, m.kind}).second) << info->Name() << "." << m.name;
      EXPECT_EQ(info->NameOf(m.id), m.name) << info->Name() << " id " << m.id;
      EXPECT_EQ(info->IdOfName(m.name), m.id) << info->Name() << "." << m.name;
    }
  }
}

TEST(TypeLibraryTest, EveryMemberHasAOneLineDescription) {
  for (const auto& info : vorel::VorelTypeLibrary().Interfaces()) {
    for (const automation::MemberInfo& m : info->Members()) {
      EXPECT_FALSE(m.doc.empty()) << info->Name() << "." << m.name;
      EXPECT_EQ(m.doc.find('\n'), std::string::npos) << info->Name() << "." << m.name;
      EXPECT_LE(m.doc.size(), 120u) << info->Name() << "." << m.name;
    }
  }
}

TEST(TypeLibraryTest, PropertyPairsAgreeOnTheirType) {
  for (const auto& info : vorel::VorelTypeLibrary().Interfaces()) {
    for (const automation::MemberInfo& put : info->Members()) {
      if (put.kind != MemberKind::PropertyPut) continue;
      ASSERT_FALSE(put.params.empty()) << info->Name() << "." << put.name;
      EXPECT_EQ(put.resultType, automation::VarType::Empty);
      const automation::MemberInfo* get = info->Find(put.id, MemberKind::PropertyGet);
      if (!get) continue;  // write-only
      EXPECT_EQ(put.params.back().type, get->resultType) << info->Name() << "." << put.name;
      EXPECT_EQ(put.params.size(), get->params.size() + 1) << info->Name() << "." << put.name;
    }
  }
}

// A class that binds code to part of a declared interface, as the object
// classes do.
class BoundMain : public automation::DispatchObject<BoundMain> {
 public:
  static const automation::DispatchTable<BoundMain>& Table() {
    static const automation::DispatchTable<BoundMain> table =
        automation::DispatchTable<BoundMain>(vorel::VorelInterface("IVorelMain"))
            .Implement("Redraw", MemberKind::Method, &BoundMain::Redraw)
            .Implement("Invalidate", MemberKind::Method, &BoundMain::Invalidate)
            .Implement("CreateObject", MemberKind::Method, &BoundMain::CreateObject)
            .Implement("DeskletAlpha", MemberKind::PropertyGet, &BoundMain::GetAlpha)
            .Implement("DeskletAlpha", MemberKind::PropertyPut, &BoundMain::SetAlpha);
    return table;
  }

  std::string calls;

 private:
  void Redraw(bool xmlOnly) { calls += xmlOnly ? "Redraw(true) " : "Redraw(false) "; }
  void Invalidate(bool full) { calls += full ? "Invalidate(true) " : "Invalidate(false) "; }
  Variant CreateObject(const std::string& progId, const std::string& prefix, bool autoCreate) {
    calls += "CreateObject(" + progId + "," + prefix + "," + (autoCreate ? "true" : "false") + ") ";
    return Variant::Nothing();
  }
  uint8_t GetAlpha() const { return alpha_; }
  void SetAlpha(uint8_t alpha) { alpha_ = alpha; }
  uint8_t alpha_ = 255;
};

TEST(TypeLibraryTest, CodeBoundToTheDeclarationsGetsTheDeclaredDefaults) {
  auto object = automation::MakeObject<BoundMain>();
  automation::IDispatch* d = object.Get();
  automation::CallMethod(d, "redraw");
  automation::CallMethod(d, "Redraw", {Variant(true)});
  automation::CallMethod(d, "invalidate");
  automation::CallMethod(d, "Invalidate", {Variant(false)});
  automation::CallMethod(d, "CreateObject", {Variant("Some.Thing")});
  automation::CallMethod(d, "CreateObject", {Variant("Some.Thing"), Variant("ev_"), Variant(false)});
  EXPECT_EQ(object->calls,
            "Redraw(false) Redraw(true) Invalidate(true) Invalidate(false) CreateObject(Some.Thing,,true) "
            "CreateObject(Some.Thing,ev_,false) ");
  automation::PutProperty(d, "DeskletAlpha", Variant(7));
  EXPECT_EQ(automation::GetProperty(d, "deskletalpha"), Variant(uint8_t{7}));
}

TEST(TypeLibraryTest, DeclaredMembersWithoutCodeFailHonestly) {
  auto object = automation::MakeObject<BoundMain>();
  automation::ClearErrorInfo();
  try {
    automation::CallMethod(object.Get(), "FlipTo", {Variant(1)});
    FAIL() << "FlipTo has no code and must not succeed";
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.Code(), automation::E_NOTIMPL);
    EXPECT_EQ(std::string(e.what()), "FlipTo: Not implemented");
  }
  // A byte property rejects what does not fit.
  EXPECT_THROW(automation::PutProperty(object.Get(), "DeskletAlpha", Variant(256)), automation::AutomationError);
}

}  // namespace
