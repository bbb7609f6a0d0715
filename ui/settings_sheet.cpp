#include "ui/settings_sheet.h"

#include <climits>

#include "drawing/cable.h"
#include "drawing/figure_renderer.h"
#include "model/figure_data.h"
#include "ui/configure_page.h"
#include "ui/dialog_resources.h"

namespace {

// Room for the one line that says why the dialog library did not load.
constexpr size_t kReasonSize = 1024;

// Draws the figure into its object as Generate does at the Configure page's frame: posed at that
// frame when it is above 0 and the figure has a motion, otherwise in the rest pose (the same in
// either posing), in the figure's own style.
void drawAgain(FigureData* figure, int object, uint32_t frame) {
    if (frame > 0 && figure->motion != nullptr) {
        figure->pose(object,
                     frame > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(frame));
        return;
    }
    PiPoint position;
    ZeroPoint(&position);
    redrawFigure(object, figure->root, &position, 0, figure->segmentStyle);
}

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
    window()->setChecked(settings_page::kPoseAsCaptured, posing == kPosingCaptured ? 1 : 0);
    window()->setEnabled(settings_page::kPoseAsCaptured, hasFigure ? 1 : 0);
}

void dlgSettings::onCommand(int id, toolkit::Notification what) {
    using namespace settings_page;
    if (what != toolkit::kClicked)
        return;
    if (id >= kLineSegments && id <= kBalloons) {
        segmentStyle = id - kLineSegments;
    } else if (id == kPoseAsCaptured) {
        posing = window() != nullptr && window()->isChecked(kPoseAsCaptured) != 0
                     ? kPosingCaptured
                     : kPosingWorldAxes;
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
            settings.posing = found->posing;
            settings.hasFigure = true;
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
        if (found != nullptr) {
            const bool posingChanged = found->posing != settings.posing;
            found->segmentStyle = settings.segmentStyle;
            found->posing = settings.posing;
            // The object shows the new posing at once; a new style alone waits for the next draw.
            if (posingChanged)
                drawAgain(found, context.objectHandle, config.frame);
        } else {
            config.setBuiltStyle(settings.segmentStyle);
        }
    }
    // Cancel undoes nothing on the Configure page: what was built there is kept either way.
    config.keepBuiltFigure();
    return 1;
}
