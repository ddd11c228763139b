// DDETimeOut goes in as hundredths and is kept as milliseconds; DDEmode is
// kept as given.
#include <gtest/gtest.h>

#include "dde/dde_channel.h"
#include "runtime/system_props.h"

namespace dove::dde {
namespace {

TEST(DdeProperties, TimeOutInHundredthsKeptAsMilliseconds) {
  EXPECT_EQ(DDETimeOutMs(), 1000u) << "one second until a program sets it";
  struct Row {
    uint32_t set, storedMs, readBack;
  };
  for (const Row& r : {Row{100, 1000, 100}, Row{0, 0, 0}, Row{1, 10, 1}, Row{6000, 60000, 6000},
                       Row{429496729, 4294967290u, 429496729},
                       Row{429496730, 4294967295u, 429496729},
                       Row{4294967295u, 4294967295u, 429496729}}) {
    SCOPED_TRACE(r.set);
    SetDDETimeOut(r.set);
    EXPECT_EQ(SystemProp(kDDETimeOutProperty), r.storedMs);
    EXPECT_EQ(DDETimeOutMs(), r.storedMs);
    EXPECT_EQ(DDETimeOut(), r.readBack);
  }
  SetDDETimeOut(100);
}

TEST(DdeProperties, ModeIsStoredUnchanged) {
  for (uint32_t flags : {0u, 1u, 0x80000003u}) {
    SetDDEmode(flags);
    EXPECT_EQ(DDEmode(), flags);
    EXPECT_EQ(SystemProp(kDDEmodeProperty), flags);
  }
  SetDDEmode(0);
}

}  // namespace
}  // namespace dove::dde
