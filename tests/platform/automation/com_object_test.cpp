#include "platform/automation/com_object.h"

#include <gtest/gtest.h>

#include "platform/automation/com_ptr.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/guid.h"

namespace automation {
namespace {

constexpr Guid kIidCounter{0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr Guid kIidNamed{0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 9}};
constexpr Guid kIidExtra{0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 10}};

class ICounter : public IUnknown {
 public:
  static constexpr Guid kIid = kIidCounter;
  using Base = IUnknown;
  virtual int Next() = 0;

 protected:
  ~ICounter() = default;
};

class INamed : public IUnknown {
 public:
  static constexpr Guid kIid = kIidNamed;
  using Base = IUnknown;
  virtual const char* Name() = 0;

 protected:
  ~INamed() = default;
};

class Counter : public ComObject<ICounter, INamed> {
 public:
  explicit Counter(bool* destroyed) : destroyed_(destroyed) {}
  ~Counter() override { *destroyed_ = true; }
  int Next() override { return ++n_; }
  const char* Name() override { return "counter"; }
  bool extra = false;

 protected:
  void* QueryExtraInterface(const Guid& iid) override {
    return extra && iid == kIidExtra ? static_cast<INamed*>(this) : nullptr;
  }

 private:
  bool* destroyed_;
  int n_ = 0;
};

TEST(GuidTest, FormatsAndParses) {
  EXPECT_EQ(ToString(kIID_IDispatch), "{00020400-0000-0000-C000-000000000046}");
  auto parsed = ParseGuid("{b196b284-bab4-101a-b69c-00aa00341d07}");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(*parsed, kIID_IConnectionPointContainer);
  EXPECT_EQ(ParseGuid("00020400-0000-0000-C000-000000000046"), kIID_IDispatch);
  EXPECT_FALSE(ParseGuid("{00020400-0000-0000-C000-00000000004}"));
  EXPECT_FALSE(ParseGuid("{00020400-0000-0000-C000-00000000004G}"));
  EXPECT_FALSE(ParseGuid("{00020400+0000-0000-C000-000000000046}"));
  EXPECT_FALSE(ParseGuid(""));
  EXPECT_TRUE(Guid{}.IsNull());
}

TEST(ComObjectTest, LastReleaseDestroys) {
  bool destroyed = false;
  size_t before = LiveObjectCount();
  {
    ComPtr<Counter> c = MakeObject<Counter>(&destroyed);
    EXPECT_EQ(LiveObjectCount(), before + 1);
    ComPtr<Counter> copy = c;
    c.Reset();
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(LiveObjectCount(), before);
}

TEST(ComObjectTest, AnswersListedInterfacesAndIUnknown) {
  bool destroyed = false;
  ComPtr<Counter> c = MakeObject<Counter>(&destroyed);
  ComPtr<ICounter> counter = c.As<ICounter>();
  ComPtr<INamed> named = c.As<INamed>();
  ASSERT_TRUE(counter);
  ASSERT_TRUE(named);
  EXPECT_EQ(counter->Next(), 1);
  EXPECT_STREQ(named->Name(), "counter");
  // One identity whichever interface is asked.
  EXPECT_EQ(Identity(counter.Get()), Identity(named.Get()));
  EXPECT_FALSE(c.As<IDispatch>());
}

TEST(ComObjectTest, QueryInterfaceFailsCleanly) {
  bool destroyed = false;
  ComPtr<Counter> c = MakeObject<Counter>(&destroyed);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(c->QueryInterface(kIidExtra, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(c->QueryInterface(kIidExtra, nullptr), E_POINTER);
  c->extra = true;
  ASSERT_EQ(c->QueryInterface(kIidExtra, &out), S_OK);
  ComPtr<INamed>::Attach(static_cast<INamed*>(out));  // gives the reference back
}

TEST(ComObjectTest, CountsReferencesExactly) {
  bool destroyed = false;
  ComPtr<Counter> c = MakeObject<Counter>(&destroyed);
  EXPECT_EQ(c->AddRef(), 2u);
  EXPECT_EQ(c->Release(), 1u);
  Counter* raw = c.Detach();
  EXPECT_FALSE(destroyed);
  ComPtr<Counter> again = ComPtr<Counter>::Attach(raw);
  again = nullptr;
  EXPECT_TRUE(destroyed);
}

}  // namespace
}  // namespace automation
