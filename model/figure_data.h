// The figure attached to one host scene object: its limb tree, its motion and how it is drawn.
// It is created by the loader commands (or the settings sheet), attached to the object it shows
// with piSetObjectData, and destroyed when the host discards that object's data or DeleteFigure
// is called. Its operations are virtual so that code holding a FigureData from GetFigure (other
// modules of the host) can reach them without linking against the module's internals.
//
// Where the operations live, each in the layer that does its work, so that the model needs
// nothing above it: freeing, rootLimb and holdsFigure in model/figure_data.cpp; read in
// hierarchy/hierarchy_reader.cpp (the file grammar itself is read there too); save and writeTo in
// hierarchy/hierarchy_writer.cpp, beside the rest of the grammar, whose writer keeps its working
// state (the lines under way, which channel layout is written) to itself and sets only
// outputFile and depth here while it writes; pose in drawing/figure_pose.cpp; create, load and
// showInNewObject, which name and make the scene object through the owner, in
// plugin/figure_loading.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "model/limb.h"
#include "model/motion_table.h"

class FigurePlugin;
struct tagStandardFile;

// How limbs are drawn; any other value draws nothing.
enum SegmentStyle : int32_t {
    kSegmentLines = 0,
    kSegmentCylinders = 1,
    kSegmentBalloons = 2,
};

// How a frame of the motion turns the limbs.
enum PosingMode : int32_t {
    // Each limb turns its children about the world's axes, X then Y then Z, and its rotation is
    // not passed down: the posing of figures made in the host, and the default.
    kPosingWorldAxes = 0,
    // As a motion capture means it: each limb's rotation channels compose in the order it
    // declared them, and every limb turns with its parent.
    kPosingCaptured = 1,
};

class FigureData {
  public:
    // A figure with no tree and no motion, made by owner; null when it cannot be allocated. The
    // caller sets segmentStyle and deletes it (after destroy) when it is not attached.
    static FigureData* create(FigurePlugin* owner);
    virtual ~FigureData();

    // Frees the limb tree and the motion table; the record itself is deleted by the caller.
    virtual void destroy();
    // The root of the limb tree; null before the first load.
    virtual Limb* rootLimb();
    // Reads a .fig or .bvh file into a new tree and motion and shows it in a new scene object,
    // to which the figure is then attached. 1 on success; 0 with the reason shown to the user.
    virtual int load(const char* path, int isBioVision);
    // The reading half of load: reads a .fig or .bvh file into a new tree and motion, showing
    // nothing. 1 when the file was read (a motion cut short is said once), 0 with the reason
    // shown. The name of the file opened (the path with the loader's extension added) goes to
    // opened when given.
    int read(const char* path, int isBioVision, std::string* opened = nullptr);
    // Whether the tree or the motion holds anything: a file that holds no figure (a picture, an
    // empty or other text file) leaves only the placeholder root "." and no channel.
    bool holdsFigure() const;
    // Poses the figure at a frame of its motion in the given object. Always 0.
    virtual int pose(int objectHandle, int frame);
    // Writes the figure as a .fig file (the extension is added); 1 on success, 0 with the reason
    // shown to the user. The file is replaced only once the whole figure has been written, so a
    // failed save leaves what was there before.
    virtual int save(const char* path);
    // Writes the figure in the .fig grammar into a file open for writing, which stays open and
    // the caller's. 1 when every write succeeded; 0 for no root or a failed write. Reports
    // nothing.
    int writeTo(tagStandardFile* file);
    // Shows the figure in a new scene object: creates it under name, bound to "Figure builder",
    // attaches the figure to it (detaching it from an earlier object) and draws the rest pose in
    // segmentStyle. 1 on success; 0 when there is no owner or the object cannot be made.
    int showInNewObject(const char* name);

    Limb* root;                   // owned; null before the first load
    tagStandardFile* outputFile;  // the file being written during save; meaningless otherwise
    int32_t segmentStyle;         // a SegmentStyle
    int32_t depth;                // nesting depth of the limb being written, for indentation
    MotionTable* motion;          // owned; null before the first load
    FigurePlugin* owner;          // names and creates the scene object
    // The scene object this figure is attached to, -1 for none. A second load detaches the
    // figure from its earlier object first, so that only one object ever owns it.
    int32_t attachedObject;
    // A PosingMode; the figure keeps the one it was made with until it is set anew. Last, after
    // every earlier field, so that the record's layout before it stays as it was.
    int32_t posing = kPosingWorldAxes;

  private:
    explicit FigureData(FigurePlugin* owner);
};
