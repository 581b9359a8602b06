// The plug-in's automation server exports: class factories for the
// library's classes, honest failures for classes without code yet, the
// unload answer, and the registration in the per-user registry file.
#include "vorel/plugin/com_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/automation/class_factory.h"
#include "platform/automation/dispatch_call.h"
#include "platform/automation/dispatch_object.h"
#include "platform/automation/error_info.h"
#include "platform/win/ini_file.h"
#include "support/temp_dir.h"
#include "vorel/host/plugin_module.h"
#include "vorel/typelib/vorel_type_library.h"

namespace {

using automation::ComPtr;
using automation::Guid;
using automation::IClassFactory;
using automation::IUnknown;
using testing_support::TempDir;

constexpr int32_t kSelfRegClassError = static_cast<int32_t>(0x80040201u);

int liveTestTimers = 0;

// A stand-in object class, bound to the timer interface as the real
// classes are bound to theirs.
class TestTimer : public automation::DispatchObject<TestTimer> {
 public:
  TestTimer() { ++liveTestTimers; }
  ~TestTimer() override { --liveTestTimers; }

  static const automation::DispatchTable<TestTimer>& Table() {
    static const automation::DispatchTable<TestTimer> table =
        automation::DispatchTable<TestTimer>(vorel::VorelInterface("IVorelTimer"))
            .Implement("Name", automation::MemberKind::PropertyGet, &TestTimer::Name);
    return table;
  }
  static ComPtr<automation::IDispatch> Create() { return automation::MakeObject<TestTimer>(); }

 private:
  std::string Name() const { return "test timer"; }
};

ComPtr<IClassFactory> GetFactory(const Guid& clsid) {
  void* out = nullptr;
  EXPECT_EQ(DllGetClassObject(&clsid, &IClassFactory::kIid, &out), automation::S_OK);
  return ComPtr<IClassFactory>::Attach(static_cast<IClassFactory*>(out));
}

class ComServerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    vorel::RegisterObjectClass("VorelTimer", nullptr);
    vorel::RegisterObjectClass("VorelUI", nullptr);
    EXPECT_EQ(DllCanUnloadNow(), automation::S_OK) << "a test left an object or a lock behind";
  }
};

TEST_F(ComServerTest, EveryClassOfTheLibraryHasAFactory) {
  for (const automation::CoClassInfo& c : vorel::VorelTypeLibrary().CoClasses()) {
    ComPtr<IClassFactory> factory = GetFactory(c.clsid);
    EXPECT_TRUE(factory) << c.name;
    void* unknown = nullptr;
    EXPECT_EQ(DllGetClassObject(&c.clsid, &IUnknown::kIid, &unknown), automation::S_OK) << c.name;
    ASSERT_NE(unknown, nullptr);
    static_cast<IUnknown*>(unknown)->Release();
  }
  EXPECT_EQ(vorel::ServerClasses().NameOf(vorel::kClsidKivObjectList), "KivObjectList");
}

TEST_F(ComServerTest, UnknownClassIdsAndBadArgumentsAreRefused) {
  void* out = reinterpret_cast<void*>(0x1);
  const Guid unknown{0x12345678, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(DllGetClassObject(&unknown, &IClassFactory::kIid, &out), automation::CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  // An interface id is no class id.
  out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(DllGetClassObject(&vorel::kIidIVorelMain, &IClassFactory::kIid, &out),
            automation::CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(DllGetClassObject(&vorel::kClsidVorelMain, &automation::kIID_IDispatch, &out), automation::E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(DllGetClassObject(nullptr, &IClassFactory::kIid, &out), automation::E_INVALIDARG);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(DllGetClassObject(&vorel::kClsidVorelMain, nullptr, &out), automation::E_INVALIDARG);
  EXPECT_EQ(DllGetClassObject(&vorel::kClsidVorelMain, &IClassFactory::kIid, nullptr), automation::E_POINTER);
}

TEST_F(ComServerTest, AClassWithoutCreatorFailsWithNotImplemented) {
  vorel::RegisterObjectClass("VorelUI", nullptr);
  ComPtr<IClassFactory> factory = GetFactory(vorel::kClsidVorelUI);
  ASSERT_TRUE(factory);
  void* out = reinterpret_cast<void*>(0x1);
  automation::ClearErrorInfo();
  EXPECT_EQ(factory->CreateInstance(nullptr, automation::kIID_IDispatch, &out), automation::E_NOTIMPL);
  EXPECT_EQ(out, nullptr);
  ASSERT_TRUE(automation::PeekErrorInfo());
  EXPECT_EQ(automation::PeekErrorInfo()->description, "Not implemented");
}

TEST_F(ComServerTest, ARegisteredCreatorMakesObjectsAndHoldsTheLibraryUntilTheyAreReleased) {
  EXPECT_EQ(DllCanUnloadNow(), automation::S_OK);
  vorel::RegisterObjectClass("vorelTIMER", &TestTimer::Create);  // class names ignore case
  ComPtr<IClassFactory> factory = GetFactory(vorel::kClsidVorelTimer);
  ASSERT_TRUE(factory);
  EXPECT_EQ(DllCanUnloadNow(), automation::S_FALSE) << "a factory is held";

  void* out = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, vorel::kIidIVorelTimer, &out), automation::S_OK);
  auto timer = ComPtr<automation::IDispatch>::Attach(static_cast<automation::IDispatch*>(out));
  EXPECT_EQ(automation::GetProperty(timer.Get(), "name"), automation::Variant("test timer"));
  factory = nullptr;
  EXPECT_EQ(DllCanUnloadNow(), automation::S_FALSE) << "an object is held";
  EXPECT_EQ(liveTestTimers, 1);
  timer = nullptr;
  EXPECT_EQ(DllCanUnloadNow(), automation::S_OK);
  EXPECT_EQ(liveTestTimers, 0);
}

TEST_F(ComServerTest, TheBuiltClassesMakeUnboundObjectsThatRefuseWork) {
  ComPtr<IClassFactory> factory = GetFactory(vorel::kClsidVorelMain);
  ASSERT_TRUE(factory);
  void* out = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, automation::kIID_IDispatch, &out), automation::S_OK);
  auto main = ComPtr<automation::IDispatch>::Attach(static_cast<automation::IDispatch*>(out));
  EXPECT_THROW(automation::GetProperty(main.Get(), "DeskletLabel"), std::exception)
      << "an object that stands for no desklet";
  main = nullptr;
  factory = nullptr;
  EXPECT_EQ(DllCanUnloadNow(), automation::S_OK);
}

TEST_F(ComServerTest, LockServerHoldsTheLibrary) {
  ComPtr<IClassFactory> factory = GetFactory(vorel::kClsidVorelMain);
  ASSERT_EQ(factory->LockServer(true), automation::S_OK);
  factory = nullptr;
  EXPECT_EQ(DllCanUnloadNow(), automation::S_FALSE);
  factory = GetFactory(vorel::kClsidVorelMain);
  EXPECT_EQ(factory->LockServer(false), automation::S_OK);
  factory = nullptr;
  EXPECT_EQ(DllCanUnloadNow(), automation::S_OK);
}

TEST_F(ComServerTest, RegisteringAnUnknownClassNameIsAProgrammingError) {
  EXPECT_THROW(vorel::RegisterObjectClass("IVorelMain", &TestTimer::Create), std::logic_error);
  EXPECT_THROW(vorel::RegisterObjectClass("", nullptr), std::logic_error);
}

// XDG_CONFIG_HOME points into a temporary folder for the test's life.
class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = std::string(old);
    setenv("XDG_CONFIG_HOME", home_.File("config").c_str(), 1);
    registry_ = home_.File("config/kivhost/registry.ini");
  }
  void TearDown() override {
    if (saved_) {
      setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }
  std::string Value(const std::string& section, const std::string& key = "@") const {
    std::string value;
    return win::ReadIniString(registry_, section, key, value) ? value : std::string("(missing)");
  }

  TempDir home_;
  std::string registry_;
  std::optional<std::string> saved_;
};

TEST_F(RegistrationTest, RegisterWritesEveryClassAndTheLibrary) {
  ASSERT_EQ(DllRegisterServer(), automation::S_OK);
  ASSERT_TRUE(std::filesystem::exists(registry_)) << "the kivhost folder is made when missing";
  const std::string module = vorel::PluginFile();
  ASSERT_FALSE(module.empty());
  EXPECT_EQ(module.front(), '/');
  for (const automation::CoClassInfo& c : vorel::VorelTypeLibrary().CoClasses()) {
    SCOPED_TRACE(c.name);
    const std::string clsid = automation::ToString(c.clsid);
    EXPECT_EQ(Value("CLSID\\" + clsid + "\\InProcServer32"), module);
    EXPECT_EQ(Value("CLSID\\" + clsid + "\\InProcServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(Value("CLSID\\" + clsid + "\\ProgID"), "Vorel." + c.name);
    EXPECT_EQ(Value("Vorel." + c.name + "\\CLSID"), clsid);
  }
  EXPECT_EQ(Value("CLSID\\{FBB1C5B4-0C1F-4CAE-9FBF-7956034188F7}\\ProgID"), "Vorel.VorelMain");
  EXPECT_EQ(Value("Vorel.VorelMain\\CLSID"), "{FBB1C5B4-0C1F-4CAE-9FBF-7956034188F7}");
  EXPECT_EQ(Value("TypeLib\\{0366ED07-C05B-4246-BA2B-AC75B91B4104}\\1.0"), "Vorel Library");
}

TEST_F(RegistrationTest, RegisterAndUnregisterKeepUnrelatedSections) {
  const std::string before =
      "; settings of other programs\n[Software\\Kivhost\\Vorel]\nAutoCheckUpdate=1\nLastUpdateCheck=45000.5\n\n"
      "[CLSID\\{00000000-1111-2222-3333-444444444444}\\InProcServer32]\n@=/other/lib.so\n";
  home_.Write("config/kivhost/registry.ini", before);
  ASSERT_EQ(DllRegisterServer(), automation::S_OK);
  const std::string registered = TempDir::Read(registry_);
  EXPECT_EQ(registered.rfind(before, 0), 0u) << "unrelated lines stay as they were";
  EXPECT_EQ(Value("Software\\Kivhost\\Vorel", "AutoCheckUpdate"), "1");

  ASSERT_EQ(DllRegisterServer(), automation::S_OK);
  EXPECT_EQ(TempDir::Read(registry_), registered) << "registering twice changes nothing";

  ASSERT_EQ(DllUnregisterServer(), automation::S_OK);
  EXPECT_EQ(TempDir::Read(registry_), before);
  ASSERT_EQ(DllUnregisterServer(), automation::S_OK) << "unregistering what is not there succeeds";
  EXPECT_EQ(TempDir::Read(registry_), before);
}

TEST_F(RegistrationTest, UnregisterWithoutARegistryFileMakesNone) {
  ASSERT_EQ(DllUnregisterServer(), automation::S_OK);
  EXPECT_FALSE(std::filesystem::exists(registry_));
}

TEST_F(RegistrationTest, AnUnwritableRegistryIsReportedAsAFailure) {
  // The registry's folder is a file: nothing can be made there.
  home_.Write("config/kivhost", "not a folder");
  automation::ClearErrorInfo();
  EXPECT_EQ(DllRegisterServer(), kSelfRegClassError);
  ASSERT_TRUE(automation::PeekErrorInfo());
  EXPECT_EQ(automation::PeekErrorInfo()->code, kSelfRegClassError);
  EXPECT_NE(automation::PeekErrorInfo()->description.find("cannot create"), std::string::npos)
      << automation::PeekErrorInfo()->description;
  EXPECT_EQ(TempDir::Read(home_.File("config/kivhost")), "not a folder");
}

TEST_F(RegistrationTest, ARegistryThatCannotBeReplacedIsReportedAsAFailure) {
  // A folder where the file should be cannot be renamed over.
  std::filesystem::create_directories(registry_ + "/inside");
  EXPECT_EQ(DllRegisterServer(), kSelfRegClassError);
  EXPECT_EQ(DllUnregisterServer(), automation::S_OK) << "nothing of ours is there to remove";
  EXPECT_TRUE(std::filesystem::is_directory(registry_ + "/inside"));
  for (const auto& entry : std::filesystem::directory_iterator(home_.File("config/kivhost")))
    EXPECT_EQ(entry.path().filename(), "registry.ini") << "no temporary file is left behind";
}

}  // namespace
