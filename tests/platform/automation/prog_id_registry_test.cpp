// The ProgID registry: names without regard to case, a clear failure for
// an unknown name, replacement, and use from several threads at once.
#include "platform/automation/prog_id_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/automation/automation_error.h"
#include "tests/platform/automation/sample_object.h"

namespace automation {
namespace {

ComPtr<IDispatch> MakeSample() { return MakeObject<testing::SampleObject>().As<IDispatch>(); }

TEST(ProgIdRegistryTest, CreatesRegisteredClassWhateverTheLetterCase) {
  ProgIdRegistry registry;
  registry.Register("Test.Sample", &MakeSample);
  EXPECT_TRUE(registry.Knows("test.SAMPLE"));
  ComPtr<IDispatch> a = registry.Create("TEST.sample");
  ComPtr<IDispatch> b = registry.Create("Test.Sample");
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.Get(), b.Get());
  EXPECT_EQ(registry.Names(), std::vector<std::string>{"Test.Sample"});
}

TEST(ProgIdRegistryTest, UnknownNameFailsWithTheNameInTheMessage) {
  ProgIdRegistry registry;
  EXPECT_FALSE(registry.Knows("No.Such"));
  try {
    registry.Create("No.Such");
    FAIL() << "created an unknown class";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Code(), CO_E_CLASSSTRING);
    EXPECT_STREQ(e.what(), "ActiveX component can't create object: 'No.Such'");
  }
}

TEST(ProgIdRegistryTest, CreatorThatGivesNothingIsAFailure) {
  ProgIdRegistry registry;
  registry.Register("Test.Null", [] { return ComPtr<IDispatch>(); });
  EXPECT_THROW(registry.Create("Test.Null"), AutomationError);
}

TEST(ProgIdRegistryTest, RegisteringAgainReplacesTheCreator) {
  ProgIdRegistry registry;
  int first = 0, second = 0;
  registry.Register("Test.Sample", [&] { ++first; return MakeSample(); });
  registry.Register("TEST.SAMPLE", [&] { ++second; return MakeSample(); });
  registry.Create("test.sample");
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  EXPECT_EQ(registry.Names(), std::vector<std::string>{"Test.Sample"});
}

TEST(ProgIdRegistryTest, EmptyNameOrCreatorIsRefused) {
  ProgIdRegistry registry;
  EXPECT_THROW(registry.Register("", &MakeSample), std::invalid_argument);
  EXPECT_THROW(registry.Register("  ", &MakeSample), std::invalid_argument);
  EXPECT_THROW(registry.Register("Test.X", nullptr), std::invalid_argument);
}

TEST(ProgIdRegistryTest, CreatorMayUseTheRegistry) {
  ProgIdRegistry registry;
  registry.Register("Test.Sample", &MakeSample);
  registry.Register("Test.Outer", [&] { return registry.Create("Test.Sample"); });
  EXPECT_TRUE(registry.Create("Test.Outer"));
}

TEST(ProgIdRegistryTest, ManyThreadsRegisterAndCreate) {
  ProgIdRegistry registry;
  registry.Register("Test.Sample", &MakeSample);
  std::atomic<int> made{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        registry.Register("Test.T" + std::to_string(t), &MakeSample);
        if (registry.Create("test.sample")) ++made;
      }
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(made.load(), 800);
  EXPECT_EQ(registry.Names().size(), 5u);
}

}  // namespace
}  // namespace automation
