#include "app/StartupListing.h"

#include "app/Form1.h"
#include "preview/SelectionPreview.h"
#include "search/DesktopListing.h"
#include "search/ResultList.h"

namespace startup {

void listDesktopAndPreview(Form1 &f)
{
    search::Command9_Click(f);
    // Only the last three letters count: "photo.jpeg" is not taken, "PHOTO.JPG" is.
    int first = 0;
    const int count = f.List1->ListCount();
    while (first < count && f.List1->List(first).right(3).toUpper() != QLatin1String("JPG"))
        ++first;
    preview::List1_Click(f);
    // With no such entry the index is past the end and nothing is selected.
    f.List1->setListIndex(first);
}

}  // namespace startup
