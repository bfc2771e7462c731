#pragma once

#include <string>
#include <vector>

namespace corvano {

// One picture of an image list: a key (may be empty) and where the picture
// comes from: "theme:NAME" (icon theme), "flag:CODE" (flag set) or
// "res:NAME" (a picture of our own).
struct Image {
    std::string key;
    std::string source;
};

class ImageList {
public:
    ImageList() = default;
    explicit ImageList(std::vector<Image> images) : images_(std::move(images)) {}
    int count() const { return static_cast<int>(images_.size()); }
    // 1-based, as the image list numbers its pictures.
    const std::string& key(int n) const { return images_.at(n - 1).key; }
    // 0-based icon index as entries hold it; empty for a bad index.
    std::string sourceOfIcon(int icon) const {
        return icon >= 0 && icon < count() ? images_[icon].source : std::string();
    }
    const std::vector<Image>& images() const { return images_; }

private:
    std::vector<Image> images_;
};

}  // namespace corvano
