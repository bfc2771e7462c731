#pragma once

#include "platform/ImageList.h"

namespace corvano {

// The language editor's two pictures: a red cross (close) and a floppy (save).
ImageList editorImageList();

}  // namespace corvano
