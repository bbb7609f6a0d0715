#include "ui/configure_page.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cstring>

#include "drawing/figure_renderer.h"
#include "plugin/figure_plugin.h"
#include "ui/dialog_resources.h"
#include "ui/part_adjust_dialog.h"

namespace {

// A double narrowed to a float that stays finite.
float toFloat(double value) {
    if (value > FLT_MAX)
        return FLT_MAX;
    if (value < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(value);
}

// An offset as the dialog shows it: the float's own shortest decimal form read as a double, so
// that 5.21 shows as "5.21" rather than every digit of the widened float. It narrows back to the
// same float, so a limb closed with OK keeps its offset.
double shownOffset(float value) {
    char text[32];
    std::to_chars_result written = std::to_chars(text, text + sizeof text - 1, value);
    *written.ptr = '\0';
    double shown = value;
    toolkit::parseNumber(text, &shown);
    return shown;
}

// Copies what the dialog edits into the limb: the name as typed (its radius is not looked up
// again), cut to the limb's fields.
void copyInto(Limb* limb, const dlgPartAdjust& dialog) {
    std::memset(limb->name, 0, sizeof limb->name);
    std::strncpy(limb->name, dialog.partName.c_str(), sizeof limb->name - 1);
    setMapName(limb, dialog.associateWith.c_str());
    limb->offset.x = toFloat(dialog.offsetX);
    limb->offset.y = toFloat(dialog.offsetY);
    limb->offset.z = toFloat(dialog.offsetZ);
}

}  // namespace

dlgConfig::dlgConfig(toolkit::Toolkit& toolkit)
    : toolkit::PropertyPage(*dialogLayout(kConfigurePageId)), toolkit_(toolkit) {}

void dlgConfig::exchange(toolkit::DataExchange& dx) {
    dx.control(configure_page::kLimbs, tree);
    dx.number(configure_page::kFrame, frame);
}

void dlgConfig::onInitDialog() {
    toolkit::PropertyPage::onInitDialog();
    if (window() != nullptr)
        window()->setRange(configure_page::kFrameSpin, 0, kLastFrame);
    if (objectHandle != host::kNoObject) {
        void* data = nullptr;
        if (piGetObjectData(objectHandle, &data) != 0 && data != nullptr)
            root = static_cast<FigureData*>(data)->rootLimb();
    }
    listLimbs(root, toolkit::kNoItem);
}

void dlgConfig::onCommand(int id, toolkit::Notification what) {
    using namespace configure_page;
    if (id == kLimbs && what == toolkit::kDoubleClicked) {
        editLimb(selectedLimb());
        return;
    }
    if (what != toolkit::kClicked)
        return;
    switch (id) {
        case kAddLimb:
            addLimb();
            break;
        case kDelete:
            deleteLimb();
            break;
        case kEdit:
            editLimb(selectedLimb());
            break;
        case kGenerate:
            generate();
            break;
        case kSaveFigure:
            saveFigure();
            break;
        case kLoadFigure:
            loadFigure();
            break;
        default:
            break;
    }
}

int dlgConfig::listLimbs(Limb* limb, toolkit::TreeItem parent) {
    if (limb == nullptr)
        return 1;
    toolkit::TreeItem under = parent;
    if (limb->name[0] != '.')
        under = tree.insert(parent, limb->name, limb);
    for (uint32_t i = 0; i < limb->childCount; ++i) {
        Limb* child = limb->children[i];
        if (child != nullptr && child->deleted != 1)
            listLimbs(child, under);
    }
    return 1;
}

void dlgConfig::refresh() {
    tree.clear();
    listLimbs(root, toolkit::kNoItem);
}

Limb* dlgConfig::selectedLimb() {
    return static_cast<Limb*>(tree.selectedData());
}

void dlgConfig::setRoot(Limb* limb) {
    root = limb;
    if (figureData != nullptr)
        figureData->root = limb;
}

FigureData* dlgConfig::makeFigureData() {
    FigurePlugin* plugin = modulePlugin();
    if (plugin == nullptr)
        return nullptr;
    FigureData* made = FigureData::create(plugin);
    if (made != nullptr)
        made->segmentStyle = plugin->limbType();
    return made;
}

void dlgConfig::editLimb(Limb* limb) {
    if (limb == nullptr)
        return;
    dlgPartAdjust dialog;
    dialog.partName = limb->name;
    dialog.associateWith = limb->mapName;
    dialog.offsetX = shownOffset(limb->offset.x);
    dialog.offsetY = shownOffset(limb->offset.y);
    dialog.offsetZ = shownOffset(limb->offset.z);
    MotionTable* motion = figureData != nullptr ? figureData->motion : nullptr;
    if (motion != nullptr && limb->firstChannel < static_cast<uint32_t>(motion->channelCount())) {
        dialog.motion = motion;
        dialog.firstChannel = limb->firstChannel;
    }
    if (dialog.doModal(toolkit_) == toolkit::kIdOk)
        copyInto(limb, dialog);
}

void dlgConfig::addLimb() {
    Limb* parent = selectedLimb();
    Limb* limb = newLimb();
    if (limb == nullptr) {
        ErrorMessage("Error adding figure limb");
        return;
    }
    dlgPartAdjust dialog;
    if (dialog.doModal(toolkit_) != toolkit::kIdOk) {
        freeTree(limb);
        return;
    }
    copyInto(limb, dialog);

    // Work built by hand needs a figure data to be saved from.
    if (figureData == nullptr) {
        figureData = makeFigureData();
        if (figureData == nullptr) {
            freeTree(limb);
            ErrorMessage("Error adding figure limb");
            return;
        }
        figureData->root = root;
    }
    if (parent == nullptr) {
        if (root == nullptr) {
            Limb* placeholder = newLimb();
            if (placeholder == nullptr) {
                freeTree(limb);
                ErrorMessage("Error adding figure limb");
                return;
            }
            setRoot(placeholder);
        }
        parent = root;
    }
    if (parent->childCount >= static_cast<uint32_t>(kMaxChildren)) {
        freeTree(limb);
        ErrorMessage("Error adding figure limb");
        return;
    }
    parent->children[parent->childCount++] = limb;
    refresh();
}

void dlgConfig::deleteLimb() {
    Limb* limb = selectedLimb();
    if (limb == nullptr)
        return;
    if (limb == root) {
        freeTree(root);
        setRoot(nullptr);
    } else {
        limb->deleted = 1;
    }
    refresh();
}

void dlgConfig::generate() {
    PiPoint position;
    ZeroPoint(&position);
    if (objectHandle == host::kNoObject)
        return;
    // A frame that does not read shows its message; the last good frame is drawn.
    updateData(1);
    // A figure built by hand has no motion to pose, so it is drawn as a page without a figure
    // data draws it: unposed, as lines.
    if (frame > 0 && figureData != nullptr && figureData->motion != nullptr) {
        // Frames past the table read as no frame there; the count only has to stay an int.
        int at = frame > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(frame);
        figureData->pose(objectHandle, at);
    } else {
        redrawFigure(objectHandle, root, &position, 0, kSegmentLines);
    }
}

void dlgConfig::loadFigure() {
    toolkit::FileRequest request{"Load Figure Data", loadString(kLoadFilterString), 0};
    toolkit::FileAnswer answer{};
    if (toolkit_.chooseFile(request, &answer) == 0)
        return;
    // The filter chosen decides, not the file's name.
    int isBioVision = answer.filterIndex == 2 ? 1 : 0;
    if (figureData == nullptr) {
        figureData = makeFigureData();
        if (figureData == nullptr)
            return;
    }
    figureData->load(answer.path, isBioVision);
    root = figureData->rootLimb();
    refresh();
}

void dlgConfig::saveFigure() {
    // After Delete of the root the figure data holds no tree, and a save would write nothing.
    if (figureData == nullptr || figureData->rootLimb() == nullptr) {
        ErrorMessage("No figure data to save");
        return;
    }
    toolkit::FileRequest request{"Save Figure Data", loadString(kSaveFilterString), 1};
    toolkit::FileAnswer answer{};
    if (toolkit_.chooseFile(request, &answer) == 0)
        return;
    figureData->save(answer.path);
}
