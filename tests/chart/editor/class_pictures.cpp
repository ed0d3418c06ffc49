// The pictures of the series types and functions that the editor's lists show: each
// drawn by its own class, as the gallery draws it.
#include "Galleries.h"
#include "Series.h"
#include "ChartStarted.h"

#include "DialogRecorder.h"
#include "TestSupport.h"

#include "graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct ClassPicturesTest : testsupport::ChartStartedTest {
    // The colours inside the picture's frame.
    static std::set<TColor> InnerColours(TBitmap* Picture)
    {
        std::set<TColor> colours;
        for (int y = 1; y < Picture->Height() - 1; ++y)
            for (int x = 1; x < Picture->Width() - 1; ++x)
                colours.insert(Picture->Canvas()->Pixel(x, y));
        return colours;
    }
    static std::vector<TColor> Pixels(TBitmap* Picture)
    {
        std::vector<TColor> pixels;
        for (int y = 0; y < Picture->Height(); ++y)
            for (int x = 0; x < Picture->Width(); ++x)
                pixels.push_back(Picture->Canvas()->Pixel(x, y));
        return pixels;
    }
    DialogRecorder dialogs;
};

TEST_F(ClassPicturesTest, EveryTypeAndFunctionGetsAPictureOfItsOwn)
{
    TTeeSeriesTypes* types = SeriesTypeList();
    ASSERT_GT(types->Count(), 10);
    const int size = 20;
    // The sheet shows each picture as the lists do, and below four times as large.
    const int large = size * 4;
    TBitmap sheet(types->Count() * (large + 4), size + 4 + large, pf24bit);
    sheet.Canvas()->Brush()->SetColor(clWhite);
    sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
    std::set<std::vector<TColor>> seriesPictures;
    int seriesTypes = 0;
    for (int i = 0; i < types->Count(); ++i) {
        const TTeeSeriesType* type = types->Get(i);
        TBitmap picture;
        DrawClassPicture(type->SeriesClass, type->FunctionClass, &picture, size);
        ASSERT_EQ(picture.Width(), size);
        ASSERT_EQ(picture.Height(), size);
        // A frame, and inside it the white ground and the type's own colours.
        EXPECT_EQ(picture.Canvas()->Pixel(0, 0), clGray) << type->DescriptionText();
        EXPECT_GE(InnerColours(&picture).size(), 3u) << type->DescriptionText();
        if (type->FunctionClass == nullptr) {
            seriesPictures.insert(Pixels(&picture));
            ++seriesTypes;
        }
        sheet.Canvas()->Draw(i * (large + 4), 0, &picture);
        TBitmap big;
        DrawClassPicture(type->SeriesClass, type->FunctionClass, &big, large);
        sheet.Canvas()->Draw(i * (large + 4), size + 4, &big);
    }
    // No two series types look alike.
    EXPECT_EQ(static_cast<int>(seriesPictures.size()), seriesTypes);
    if (const std::string path = testsupport::ArtifactPath("editor-class-pictures.png"); !path.empty()) {
        sheet.SaveToFile(path);
    }
}

} // namespace
