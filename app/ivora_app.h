#pragma once
// The application object: common controls, the COM apartment, one instance per logon.

namespace orvane {

class CIvoraApp {
  public:
    // Runs the program; the return value is the process exit code.
    int InitInstance();
};

}  // namespace orvane
