#include "bars/EditorImageList.h"

namespace corvano {

ImageList editorImageList() { return ImageList({{"", "theme:dialog-close"}, {"", "theme:media-floppy"}}); }

}  // namespace corvano
