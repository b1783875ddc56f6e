#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The "text/uri-list" form in which desktops hand over dropped files: one
// URI a line, lines ended by CR LF, "#" lines are comments.

// The local paths of the "file:" URIs of a list, percent-decoded, in order.
// A URI naming another host than "", "localhost" or localHost, a non-file
// URI, a broken escape, an escaped NUL, a path that is not absolute, and a
// path longer than maxPathBytes are left out. At most maxPaths are taken.
std::vector<std::string> filePathsFromUriList(std::string_view list, const std::string& localHost = "",
                                              std::size_t maxPaths = 256, std::size_t maxPathBytes = 4096);

// "file://" + the absolute path with every byte but letters, digits,
// "-._~" and "/" percent-encoded.
std::string fileUriFromPath(const std::string& absolutePath);

// The list for some absolute paths, each line ended by CR LF.
std::string uriListFromPaths(const std::vector<std::string>& absolutePaths);
