#include "controls/toolbar_pictures.h"

#include <QString>

namespace larkspur {

namespace {

struct Picture {
    int command;
    const char* file;
};

const Picture kPictures[] = {
    {32804, ":/tool-new.png"},      {32786, ":/tool-open.png"},     {32793, ":/tool-save.png"},
    {32794, ":/tool-saveas.png"},   {32783, ":/tool-savemany.png"}, {32795, ":/tool-newrule.png"},
    {32796, ":/tool-copyrule.png"}, {32798, ":/tool-rename.png"},   {32797, ":/tool-clear.png"},
    {32802, ":/tool-delete.png"},   {32803, ":/tool-loadpage.png"}, {32800, ":/tool-refresh.png"},
    {32801, ":/tool-changepage.png"}, {57670, ":/tool-help.png"},
};

}  // namespace

QIcon ToolbarPicture(int commandId) {
    for (const Picture& p : kPictures)
        if (p.command == commandId) return QIcon(QString::fromLatin1(p.file));
    return {};
}

}  // namespace larkspur
