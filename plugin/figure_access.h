// Exported functions through which other modules of the host reach the figure attached to a
// scene object: find it, read or set its root's offset and first three channels at a frame, and
// delete it. They neither draw nor redraw. Note the argument orders: DeleteFigure takes the
// object first, the other two figure functions the figure first.
#pragma once

#include "model/figure_data.h"
#include "plugin/host_library.h"

extern "C" {
// Does nothing; always 0.
int CreateFigure();
// Destroys and deletes figure and detaches it from the object; 0 (and nothing changes) when
// figure is null, else 1.
int DeleteFigure(int objectHandle, FigureData* figure);
// The figure attached to the object; null for handle -1, for an object without one, or when the
// host cannot say.
FigureData* GetFigure(int objectHandle);
// With a figure, a non-zero selector and a root: copies the root's offset into offset and the
// values of its channels firstChannel, +1, +2 at frame into values Z, Y, X (either may be null).
// Always 0, also after a successful read: callers of the host rely on that.
int GetFigureLimbInfo(FigureData* figure, int selector, int frame, PiPoint* offset,
                      PiPoint* values);
// The reverse of GetFigureLimbInfo: values Z, Y and X go into channels firstChannel, +1 and +2
// at frame (where the table takes them). 1 when there is a figure with a root and the selector is
// non-zero, else 0.
int SetFigureLimbInfo(FigureData* figure, int selector, int frame, const PiPoint* offset,
                      const PiPoint* values);
}
