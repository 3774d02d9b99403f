#pragma once
#include <QIcon>

// The pictures of the editor window's list commands, drawn here so that the program
// ships no image files: a green plus (Add), a red cross (Delete), a pencil (Edit) and
// two stacked pages (Copy).
namespace ButtonPictures {
QIcon Add();
QIcon Delete();
QIcon Edit();
QIcon Copy();
}   // namespace ButtonPictures
