#include "ui/settings_sheet.h"

#include "drawing/cable.h"
#include "model/figure_data.h"
#include "plugin/figure_plugin.h"
#include "ui/configure_page.h"
#include "ui/dialog_resources.h"

namespace {

// Room for the one line that says why the dialog library did not load.
constexpr size_t kReasonSize = 1024;

}  // namespace

dlgSettings::dlgSettings() : toolkit::PropertyPage(*dialogLayout(kSettingsPageId)) {}

void dlgSettings::exchange(toolkit::DataExchange& dx) {
    dx.number(settings_page::kDivisions, divisions);
    dx.number(settings_page::kSubSegments, subSegments);
}

void dlgSettings::onInitDialog() {
    toolkit::PropertyPage::onInitDialog();
    if (window() == nullptr)
        return;
    for (int style = 0; style < 3; ++style)
        window()->setChecked(settings_page::kLineSegments + style, style == segmentStyle ? 1 : 0);
}

void dlgSettings::onCommand(int id, toolkit::Notification what) {
    using namespace settings_page;
    if (what != toolkit::kClicked)
        return;
    if (id >= kLineSegments && id <= kBalloons) {
        segmentStyle = id - kLineSegments;
    } else if (id == kTest) {
        PiPoint from{0.0f, 0.0f, 0.0f};
        PiPoint to{1.0f, 0.0f, 0.0f};
        drawTestSegment(&from, &to);
    }
}

int showSettingsSheet(FigurePlugin* plugin) {
    char reason[kReasonSize] = "";
    toolkit::Toolkit* toolkit = toolkit::loadToolkit(reason, sizeof reason);
    if (toolkit == nullptr) {
        ErrorMessage("%s", reason);
        return 1;
    }

    dlgSettings settings;
    dlgConfig config(*toolkit);
    FigureData* found = nullptr;
    PluginCall* call = plugin != nullptr ? plugin->callRecord() : nullptr;
    if (call != nullptr && call->objectHandle != 0) {
        config.objectHandle = call->objectHandle;
        void* data = nullptr;
        if (piGetObjectData(call->objectHandle, &data) != 0 && data != nullptr) {
            found = static_cast<FigureData*>(data);
            config.figureData = found;
            settings.segmentStyle = found->segmentStyle;
        }
    }
    // Without a figure data the page shows the style new figures get; it is written nowhere.
    if (found == nullptr && plugin != nullptr)
        settings.segmentStyle = plugin->limbType();

    toolkit::PropertyPage* pages[] = {&config, &settings};
    int result = toolkit::runPropertySheet(*toolkit, "Settings", pages, 2);
    if (result == toolkit::kIdOk && found != nullptr)
        found->segmentStyle = settings.segmentStyle;

    // A figure data the page made that no scene object holds would be lost: it goes here.
    FigureData* made = config.figureData;
    if (made != nullptr && made != found && made->attachedObject == host::kNoObject) {
        made->destroy();
        delete made;
    }
    return 1;
}
