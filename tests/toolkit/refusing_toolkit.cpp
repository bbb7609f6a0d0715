// A dialog library that loads and starts but cannot make a window, as on a machine without a
// desktop or out of window resources: every modal run fails.
#include "toolkit/dialog_toolkit.h"

namespace {

class RefusingToolkit : public toolkit::Toolkit {
  public:
    int runDialog(const toolkit::DialogTemplate&, toolkit::Handler&) override {
        return toolkit::kRunFailed;
    }
    int runSheet(const char*, const toolkit::SheetPage*, size_t) override {
        return toolkit::kRunFailed;
    }
    void messageBox(const char*, const char*, uint32_t) override {}
    int chooseFile(const toolkit::FileRequest&, toolkit::FileAnswer*) override { return 0; }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) toolkit::Toolkit* figureDialogToolkit(
    int version, const char** reason) {
    static RefusingToolkit refusing;
    if (version != toolkit::kInterfaceVersion) {
        *reason = "another interface version";
        return nullptr;
    }
    return &refusing;
}
