#pragma once

// The window class of every image view.
constexpr char kImageViewClass[] = "ImageView";
