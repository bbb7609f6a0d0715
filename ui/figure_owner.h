// What the settings sheet needs of the plug-in that owns figures: new figure data, the name a
// loaded file's object takes, and a new scene object to show a figure in. The plug-in hands its
// own to the sheet it opens, so that the sheet never reaches up to the plug-in itself.
#pragma once

#include "model/figure_data.h"

class FigureOwner {
  public:
    // A new figure data of this owner's, with no tree and no motion; null when it cannot be
    // allocated. The caller sets its style and posing, and deletes it when no object holds it.
    virtual FigureData* newFigure() = 0;
    // The name of the object a file loaded from path is shown in (the plug-in's baseName): valid
    // until the next call.
    virtual const char* baseName(const char* path) = 0;
    // Shows figure in a new scene object under name, as FigureData::showInNewObject does.
    virtual int showInNewObject(FigureData& figure, const char* name) = 0;

  protected:
    ~FigureOwner() = default;
};
