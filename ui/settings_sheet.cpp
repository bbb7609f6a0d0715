#include "ui/settings_sheet.h"

#include "drawing/cable.h"
#include "model/figure_data.h"
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

int showSettingsSheet(const SheetContext& context) {
    char reason[kReasonSize] = "";
    toolkit::Toolkit* toolkit = toolkit::loadToolkit(reason, sizeof reason);
    if (toolkit == nullptr) {
        ErrorMessage("%s", reason);
        return 1;
    }

    dlgSettings settings;
    dlgConfig config(*toolkit);
    config.owner = context.owner;
    config.limbType = context.limbType;
    config.posing = context.posing;
    FigureData* found = nullptr;
    if (context.objectHandle != 0) {
        config.objectHandle = context.objectHandle;
        void* data = nullptr;
        if (piGetObjectData(context.objectHandle, &data) != 0 && data != nullptr) {
            found = static_cast<FigureData*>(data);
            config.figureData = found;
            settings.segmentStyle = found->segmentStyle;
        }
    }
    // Without a figure data the page shows the style new figures get; a figure built here takes
    // what is chosen.
    if (found == nullptr)
        settings.segmentStyle = context.limbType;

    toolkit::PropertyPage* pages[] = {&config, &settings};
    int result = toolkit::runPropertySheet(*toolkit, "Settings", pages, 2);
    if (result == toolkit::kRunFailed)
        ErrorMessage(kWindowNotMade, "Settings");
    if (result == toolkit::kIdOk) {
        if (found != nullptr)
            found->segmentStyle = settings.segmentStyle;
        else
            config.setBuiltStyle(settings.segmentStyle);
    }
    // Cancel undoes nothing on the Configure page: what was built there is kept either way.
    config.keepBuiltFigure();
    return 1;
}
