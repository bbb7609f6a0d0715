#include "ui/configure_page.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cstring>
#include <string>

#include "drawing/figure_renderer.h"
#include "model/limb_walk.h"
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

// The name of the scene object a figure built on the page goes into.
constexpr char kBuiltObjectName[] = "figure";

// Whether the list shows any limb of the tree: a live one whose name does not begin with ".".
bool listsAnyLimb(const Limb* root) {
    return findFirstLimb(root, DeletedLimbs::kSkipped,
                         [](const Limb* limb) { return limb->name[0] != '.'; }) != nullptr;
}

// Builds the list's items: a listed limb's item goes under the item of its nearest listed
// ancestor, or under the item the walk began below.
class LimbListing {
  public:
    struct Level {
        toolkit::TreeItem under;
    };

    LimbListing(toolkit::TreeControl& tree, toolkit::TreeItem top) : tree_(tree), top_(top) {}

    LimbWalkStep enter(Limb* limb, Limb*, int, const Level* parentLevel, Level& own) {
        own.under = parentLevel != nullptr ? parentLevel->under : top_;
        if (limb->name[0] != '.')
            own.under = tree_.insert(own.under, limb->name, limb);
        return LimbWalkStep::kBelow;
    }

  private:
    toolkit::TreeControl& tree_;
    const toolkit::TreeItem top_;
};

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

// Shows Part Adjust; whether it closed with OK. A dialog that could not be made is said, and
// counts as cancelled.
bool closedWithOk(dlgPartAdjust& dialog, toolkit::Toolkit& toolkit) {
    int result = dialog.doModal(toolkit);
    if (result == toolkit::kRunFailed)
        ErrorMessage(kWindowNotMade, "Part Adjust");
    return result == toolkit::kIdOk;
}

}  // namespace

dlgConfig::dlgConfig(toolkit::Toolkit& toolkit)
    : toolkit::PropertyPage(*dialogLayout(kConfigurePageId)), toolkit_(toolkit) {}

void dlgConfig::exchange(toolkit::DataExchange& dx) {
    dx.control(configure_page::kLimbs, tree);
    // Frames go from 0 to 255; a larger number is refused rather than drawn as the rest pose.
    dx.number(configure_page::kFrame, frame, 0u, static_cast<uint32_t>(kLastFrame));
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

void dlgConfig::listLimbs(Limb* limb, toolkit::TreeItem parent) {
    LimbListing listing(tree, parent);
    walkLimbTree(limb, DeletedLimbs::kSkipped, listing);
}

void dlgConfig::refresh() {
    // Branches the user opened stay open; their limbs are only compared, never read, so a limb
    // freed meanwhile does no harm.
    std::vector<void*> open = tree.expandedData();
    tree.clear();
    listLimbs(root, toolkit::kNoItem);
    tree.expand(open);
}

Limb* dlgConfig::selectedLimb() {
    return static_cast<Limb*>(tree.selectedData());
}

void dlgConfig::setRoot(Limb* limb) {
    root = limb;
    if (figureData != nullptr)
        figureData->root = limb;
}

FigureData* dlgConfig::makeFigureData() const {
    if (owner == nullptr)
        return nullptr;
    FigureData* made = owner->newFigure();
    if (made != nullptr) {
        made->segmentStyle = limbType;
        made->posing = posing;
    }
    return made;
}

void dlgConfig::setBuiltStyle(int32_t style) {
    if (builtHere_ && figureData != nullptr)
        figureData->segmentStyle = style;
}

void dlgConfig::keepBuiltFigure() {
    if (!builtHere_ || figureData == nullptr)
        return;
    FigureData* built = figureData;
    builtHere_ = false;
    figureData = nullptr;
    Limb* top = built->rootLimb();
    bool hasLimbs = listsAnyLimb(top);
    if (hasLimbs && owner != nullptr && owner->showInNewObject(*built, kBuiltObjectName) == 1)
        return;
    if (hasLimbs)
        ErrorMessage("Unable to create a scene object for the figure built");
    built->destroy();
    delete built;
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
    dialog.figure = figureData;
    dialog.limb = limb;
    if (!closedWithOk(dialog, toolkit_))
        return;
    copyInto(limb, dialog);
    // The list shows the new name at once.
    refresh();
}

void dlgConfig::addLimb() {
    Limb* parent = selectedLimb();
    Limb* limb = newLimb();
    if (limb == nullptr) {
        ErrorMessage("Error adding figure limb");
        return;
    }
    dlgPartAdjust dialog;
    if (!closedWithOk(dialog, toolkit_)) {
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
        builtHere_ = true;
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
    // The limb had no place while the dialog was open; the rotations shown on OK are kept now.
    dialog.figure = figureData;
    dialog.limb = limb;
    dialog.storeShownRotations();
    refresh();
}

void dlgConfig::deleteLimb() {
    Limb* limb = selectedLimb();
    if (limb == nullptr)
        return;
    if (limb == root) {
        freeTree(root);
        setRoot(nullptr);
        // The motion's channels belonged to the freed limbs. Kept, they would be saved under
        // the channel lines of a figure rebuilt here, each value in the wrong place.
        if (figureData != nullptr) {
            delete figureData->motion;
            figureData->motion = nullptr;
        }
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
    // A frame that does not read (or is past 255) shows its message and nothing is drawn: the
    // figure is not dropped into another frame than the one asked for.
    if (updateData(1) == 0)
        return;
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
    // Always a figure of its own: loading into the page's figure would throw away the tree and
    // motion of the object the sheet was opened for.
    FigureData* loaded = makeFigureData();
    if (loaded == nullptr)
        return;
    // A file that holds no figure (a picture, an empty or other text file) makes no object; the
    // page goes on with the figure it had, as after a load that failed (which said why).
    std::string opened;
    bool read = loaded->read(answer.path, isBioVision, &opened) == 1;
    if (read && !loaded->holdsFigure()) {
        ErrorMessage("%s holds no figure", opened.c_str());
        read = false;
    }
    if (!read || owner->showInNewObject(*loaded, owner->baseName(answer.path)) != 1) {
        loaded->destroy();
        delete loaded;
        return;
    }
    keepBuiltFigure();
    figureData = loaded;
    root = loaded->rootLimb();
    objectHandle = loaded->attachedObject;
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
