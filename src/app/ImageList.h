#pragma once

#include <QIcon>
#include <array>

// The three small icons of the source list, numbered from 1.
class ImageList {
public:
    static constexpr int Document = 1;
    static constexpr int Folder = 2;
    static constexpr int Missing = 3;

    ImageList();
    QIcon ListImages(int index) const;
    static constexpr int Count = 3;

private:
    std::array<QIcon, Count> icons;
};
