// Class factories and the class registry: factories for served classes,
// honest failures, late creators, and the server lifetime that decides
// whether the server may be unloaded.
#include "platform/automation/class_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/automation/automation_error.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/error_info.h"

namespace automation {
namespace {

constexpr Guid kClsidThing{0x5EED0001, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
constexpr Guid kClsidOther{0x5EED0002, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};
constexpr Guid kIidIThing{0x5EED0003, 0, 0, {0, 0, 0, 0, 0, 0, 0, 3}};
constexpr Guid kIidUnknownToAll{0x5EED0004, 0, 0, {0, 0, 0, 0, 0, 0, 0, 4}};

class IThing : public IUnknown {
 public:
  static constexpr Guid kIid = kIidIThing;
  using Base = IUnknown;
  virtual int Value() = 0;

 protected:
  ~IThing() = default;
};

std::atomic<int> liveThings{0};

class Thing : public ComObject<IThing> {
 public:
  Thing() { ++liveThings; }
  ~Thing() override { --liveThings; }
  int Value() override { return 42; }
};

ComPtr<IUnknown> MakeThing() { return ComPtr<IUnknown>(MakeObject<Thing>()); }

class ClassRegistryTest : public ::testing::Test {
 protected:
  ClassRegistryTest() { registry.AddClass(kClsidThing, "Thing"); }

  ComPtr<IClassFactory> Factory(const Guid& clsid = kClsidThing) {
    void* out = nullptr;
    EXPECT_EQ(registry.GetClassObject(clsid, IClassFactory::kIid, &out), S_OK);
    return ComPtr<IClassFactory>::Attach(static_cast<IClassFactory*>(out));
  }
  ComPtr<IThing> Create(IClassFactory* factory) {
    void* out = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IThing::kIid, &out), S_OK);
    return ComPtr<IThing>::Attach(static_cast<IThing*>(out));
  }

  ClassRegistry registry;
};

TEST_F(ClassRegistryTest, UnknownClassHasNoFactory) {
  void* out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(registry.GetClassObject(kClsidOther, IClassFactory::kIid, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(registry.GetClassObject(kClsidThing, IClassFactory::kIid, nullptr), E_POINTER);
  EXPECT_FALSE(registry.Serves(kClsidOther));
  EXPECT_TRUE(registry.Serves(kClsidThing));
  EXPECT_EQ(registry.NameOf(kClsidThing), "Thing");
  EXPECT_EQ(registry.NameOf(kClsidOther), "");
  EXPECT_FALSE(registry.SetCreator(kClsidOther, MakeThing));
  EXPECT_TRUE(registry.CanUnload());
}

TEST_F(ClassRegistryTest, FactoryWithoutCreatorFailsWithNotImplemented) {
  ComPtr<IClassFactory> factory = Factory();
  ASSERT_TRUE(factory);
  void* out = reinterpret_cast<void*>(0x1);
  ClearErrorInfo();
  EXPECT_EQ(factory->CreateInstance(nullptr, IThing::kIid, &out), E_NOTIMPL);
  EXPECT_EQ(out, nullptr);
  ASSERT_TRUE(PeekErrorInfo());
  EXPECT_EQ(PeekErrorInfo()->description, "Not implemented");
  EXPECT_FALSE(registry.HasCreator(kClsidThing));
}

TEST_F(ClassRegistryTest, FactoryUsesTheCreatorTheClassHasWhenAsked) {
  ComPtr<IClassFactory> factory = Factory();
  registry.SetCreator(kClsidThing, MakeThing);
  EXPECT_TRUE(registry.HasCreator(kClsidThing));
  ComPtr<IThing> thing = Create(factory.Get());
  ASSERT_TRUE(thing);
  EXPECT_EQ(thing->Value(), 42);
  registry.SetCreator(kClsidThing, nullptr);
  void* out = nullptr;
  EXPECT_EQ(factory->CreateInstance(nullptr, IThing::kIid, &out), E_NOTIMPL);
}

TEST_F(ClassRegistryTest, FactoryAnswersAsIUnknownButNotAsOtherInterfaces) {
  void* out = nullptr;
  ASSERT_EQ(registry.GetClassObject(kClsidThing, IUnknown::kIid, &out), S_OK);
  ASSERT_NE(out, nullptr);
  static_cast<IUnknown*>(out)->Release();
  out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(registry.GetClassObject(kClsidThing, IDispatch::kIid, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_TRUE(registry.CanUnload());
}

TEST_F(ClassRegistryTest, CreationFailuresAreReported) {
  registry.SetCreator(kClsidThing, [] { return MakeThing(); });
  ComPtr<IClassFactory> factory = Factory();
  void* out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(factory->CreateInstance(nullptr, IThing::kIid, nullptr), E_POINTER);
  EXPECT_EQ(factory->CreateInstance(factory.Get(), IThing::kIid, &out),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(factory->CreateInstance(nullptr, kIidUnknownToAll, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);

  registry.SetCreator(kClsidThing, []() -> ComPtr<IUnknown> { throw AutomationError(E_FAIL, "boom"); });
  ClearErrorInfo();
  EXPECT_EQ(factory->CreateInstance(nullptr, IThing::kIid, &out), E_FAIL);
  ASSERT_TRUE(PeekErrorInfo());
  EXPECT_EQ(PeekErrorInfo()->description, "boom");
  registry.SetCreator(kClsidThing, [] { return ComPtr<IUnknown>(); });
  EXPECT_EQ(factory->CreateInstance(nullptr, IThing::kIid, &out), E_UNEXPECTED);
  EXPECT_EQ(out, nullptr);
  factory = nullptr;
  EXPECT_TRUE(registry.CanUnload());
  EXPECT_EQ(liveThings.load(), 0) << "an object nobody asked for does not outlive the call";
}

TEST_F(ClassRegistryTest, ObjectsAndFactoriesHeldOutsideKeepTheServer) {
  registry.SetCreator(kClsidThing, MakeThing);
  EXPECT_TRUE(registry.CanUnload());
  ComPtr<IClassFactory> factory = Factory();
  EXPECT_FALSE(registry.CanUnload());
  ComPtr<IThing> a = Create(factory.Get());
  ComPtr<IThing> b = Create(factory.Get());
  factory = nullptr;
  EXPECT_FALSE(registry.CanUnload());
  EXPECT_EQ(registry.Lifetime().OutstandingObjects(), 2u);
  a = nullptr;
  EXPECT_EQ(registry.Lifetime().OutstandingObjects(), 1u);
  EXPECT_EQ(liveThings.load(), 1) << "an object nobody holds is let go at the first look";
  ComPtr<IUnknown> other = b.As<IUnknown>();  // another interface of the same object
  b = nullptr;
  EXPECT_FALSE(registry.CanUnload());
  other = nullptr;
  EXPECT_TRUE(registry.CanUnload());
  EXPECT_EQ(liveThings.load(), 0);
}

TEST_F(ClassRegistryTest, LocksKeepTheServerUntilReleased) {
  ComPtr<IClassFactory> factory = Factory();
  EXPECT_EQ(factory->LockServer(true), S_OK);
  EXPECT_EQ(factory->LockServer(true), S_OK);
  factory = nullptr;
  EXPECT_EQ(registry.Lifetime().Locks(), 2u);
  EXPECT_FALSE(registry.CanUnload());
  factory = Factory();
  EXPECT_EQ(factory->LockServer(false), S_OK);
  EXPECT_EQ(factory->LockServer(false), S_OK);
  EXPECT_EQ(factory->LockServer(false), E_UNEXPECTED) << "an unlock without a lock is refused";
  EXPECT_EQ(registry.Lifetime().Locks(), 0u);
  factory = nullptr;
  EXPECT_TRUE(registry.CanUnload());
}

TEST_F(ClassRegistryTest, ObjectsMadeOnSeveralThreadsAreAllCounted) {
  registry.SetCreator(kClsidThing, MakeThing);
  ComPtr<IClassFactory> factory = Factory();
  constexpr int kThreads = 4, kEach = 50;
  std::vector<std::vector<ComPtr<IThing>>> made(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        void* out = nullptr;
        if (factory->CreateInstance(nullptr, IThing::kIid, &out) == S_OK)
          made[static_cast<size_t>(t)].push_back(ComPtr<IThing>::Attach(static_cast<IThing*>(out)));
        if (i % 10 == 0) registry.CanUnload();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  factory = nullptr;
  EXPECT_EQ(registry.Lifetime().OutstandingObjects(), static_cast<size_t>(kThreads * kEach));
  made.clear();
  EXPECT_TRUE(registry.CanUnload());
  EXPECT_EQ(liveThings.load(), 0);
}

TEST(ServerLifetimeTest, ReleasesWhatItWatchesWhenDestroyed) {
  {
    ServerLifetime lifetime;
    lifetime.Watch(MakeThing().Get());
    lifetime.Watch(nullptr);
    EXPECT_EQ(liveThings.load(), 1);
  }
  EXPECT_EQ(liveThings.load(), 0);
}

}  // namespace
}  // namespace automation
