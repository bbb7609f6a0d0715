// The "Configure" page of the settings sheet: lists the figure's limbs and loads, saves, adds,
// deletes, edits and generates. Every change takes effect at once on the live limbs; closing the
// sheet with Cancel undoes nothing.
//
// The page and its figure data share one tree: whenever the page's root changes (a root that
// Add Limb makes, Delete of the root, a load), the figure data's root is the same limb, so that
// saving and posing see what the page shows and nothing keeps a freed tree.
#pragma once

#include <cstdint>

#include "model/figure_data.h"
#include "model/limb.h"
#include "toolkit/dialog_base.h"

class dlgConfig : public toolkit::PropertyPage {
  public:
    explicit dlgConfig(toolkit::Toolkit& toolkit);

    toolkit::TreeControl tree;         // the limb list, control 1006; each item carries its limb
    uint32_t frame = 0;                // the frame Generate draws
    int32_t objectHandle = -1;         // the host object the sheet works on; -1 for none
    Limb* root = nullptr;              // root of the tree being edited; not owned
    FigureData* figureData = nullptr;  // the object's figure data, or one this page made

    // Lists limb and its subtree below parent: a limb whose name begins with "." gets no item of
    // its own (its children go under parent), deleted limbs are left out with their subtrees.
    int listLimbs(Limb* limb, toolkit::TreeItem parent);
    // Empties the list and lists the tree from root; nothing is selected afterwards.
    void refresh();
    // The limb of the selected item; null when nothing is selected.
    Limb* selectedLimb();
    // Opens "Part Adjust" on the limb; on OK the limb takes the dialog's name, association and
    // offset.
    void editLimb(Limb* limb);

    void addLimb();
    void deleteLimb();
    void generate();
    void loadFigure();
    void saveFigure();

  protected:
    void exchange(toolkit::DataExchange& dx) override;
    void onInitDialog() override;
    void onCommand(int id, toolkit::Notification what) override;

  private:
    // Makes limb the root of both the page and its figure data.
    void setRoot(Limb* limb);
    // A new figure data owned by the module's plug-in, drawn in its "LimbType" style; null when
    // there is no plug-in or no memory.
    static FigureData* makeFigureData();

    toolkit::Toolkit& toolkit_;
};
