// How long the data engine waits for another process's lock, changed for the
// length of a scope: the engine's usual wait comes back when the scope ends,
// also when an assertion returns from the test half way.
//
//   LockTimeoutScope wait(200);     // give up after 200 ms from here on
//   EXPECT_THROW(read(), SqlError);
//   wait.set(60000);                // now wait for the other process
#pragma once

#include "datastore/sql/database.h"

namespace testsupport {

// The engine's wait when nobody changed it.
constexpr int kEngineLockTimeoutMs = 20000;

class LockTimeoutScope {
public:
    explicit LockTimeoutScope(int milliseconds) { set(milliseconds); }
    ~LockTimeoutScope() { sqlstore::database().setLockTimeout(kEngineLockTimeoutMs); }
    LockTimeoutScope(const LockTimeoutScope &) = delete;
    LockTimeoutScope &operator=(const LockTimeoutScope &) = delete;

    void set(int milliseconds) { sqlstore::database().setLockTimeout(milliseconds); }
};

} // namespace testsupport
