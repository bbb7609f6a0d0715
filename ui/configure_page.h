// The "Configure" page of the settings sheet: lists the figure's limbs and loads, saves, adds,
// deletes, edits and generates. Every change takes effect at once on the live limbs; closing the
// sheet with Cancel undoes nothing.
//
// A figure built on the page from nothing (Add Limb without a figure data) belongs to no object
// while the sheet is open; keepBuiltFigure gives it one when the sheet closes. Load Figure always
// loads into a figure data of its own, in a new object, and the page then works on that one: the
// figure the sheet was opened for keeps its tree, motion and drawing.
//
// The page and its figure data share one tree: whenever the page's root changes (a root that
// Add Limb makes, Delete of the root, a load), the figure data's root is the same limb, so that
// saving and posing see what the page shows and nothing keeps a freed tree.
#pragma once

#include <cstdint>

#include "model/figure_data.h"
#include "model/limb.h"
#include "toolkit/dialog_base.h"
#include "ui/figure_owner.h"

class dlgConfig : public toolkit::PropertyPage {
  public:
    explicit dlgConfig(toolkit::Toolkit& toolkit);

    toolkit::TreeControl tree;         // the limb list, control 1006; each item carries its limb
    uint32_t frame = 0;                // the frame Generate draws
    int32_t objectHandle = -1;         // the host object the sheet works on; -1 for none
    Limb* root = nullptr;              // root of the tree being edited; not owned
    FigureData* figureData = nullptr;  // the object's figure data, or one this page made
    // What figure data made here start with: their owner (which names and creates their objects)
    // their segment style and their posing.
    FigureOwner* owner = nullptr;  // not owned
    int32_t limbType = kSegmentLines;
    int32_t posing = kPosingWorldAxes;

    // Lists limb and its subtree below parent: a limb whose name begins with "." gets no item of
    // its own (its children go under parent), deleted limbs are left out with their subtrees.
    void listLimbs(Limb* limb, toolkit::TreeItem parent);
    // Empties the list and lists the tree from root; the limbs whose items were expanded are
    // expanded again, and nothing is selected afterwards.
    void refresh();
    // The limb of the selected item; null when nothing is selected.
    Limb* selectedLimb();
    // Opens "Part Adjust" on the limb; on OK the limb takes the dialog's name, association and
    // offset, and the list is refreshed to show them.
    void editLimb(Limb* limb);

    void addLimb();
    void deleteLimb();
    void generate();
    void loadFigure();
    void saveFigure();

    // Sets the segment style of a figure built on the page that no object holds yet.
    void setBuiltStyle(int32_t style);
    // A figure built on the page that no object holds: with limbs it becomes a new scene object
    // named "figure", drawn in its rest pose; empty, it is destroyed. Afterwards the page holds
    // no such figure.
    void keepBuiltFigure();

  protected:
    void exchange(toolkit::DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, toolkit::Notification what) override;

  private:
    // Makes limb the root of both the page and its figure data.
    void setRoot(Limb* limb);
    // A new figure data of the page's owner in the page's limb type; null when there is no
    // owner or no memory.
    FigureData* makeFigureData() const;

    toolkit::Toolkit& toolkit_;
    // Set while figureData is one the page made that no object holds.
    bool builtHere_ = false;
};
