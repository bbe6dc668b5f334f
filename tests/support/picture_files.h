// The eighteen picture files the program loads, in load order.
#pragma once

#include <string>
#include <vector>

inline const std::vector<std::string>& PictureFiles() {
    static const std::vector<std::string> files = {
        "qorlogo.jpg",       "VekCreds.jpg",      "JubCreds.jpg",      "SnurfelsCreds.jpg", "QuillackCreds.jpg",
        "ZephruntCreds.jpg", "SluttBilde.jpg",    "Dwip1.png",         "Dwip2.png",         "DwipTuvrel.png",
        "Nerd.jpg",          "Lyrics.png",        "KX07.jpg",          "Demoscene.jpg",     "DwipVacation1.jpg",
        "DwipVacation2.jpg", "DwipVacation3.jpg", "Ass.jpg",
    };
    return files;
}
