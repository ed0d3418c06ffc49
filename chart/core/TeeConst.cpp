#include "TeeConst.h"

#define TEE_CONST_DEFINE_LITERAL(name, text) std::string name;
#define TEE_CONST_DEFINE_BUILT(name) std::string name;
TEE_CONST_LITERAL_TEXTS(TEE_CONST_DEFINE_LITERAL)
TEE_CONST_BUILT_TEXTS(TEE_CONST_DEFINE_BUILT)
#undef TEE_CONST_DEFINE_LITERAL
#undef TEE_CONST_DEFINE_BUILT

namespace {
bool TextsAssigned = false;   // InitTeeConstStrings has run since the last release
int UnitInitCount = 0;        // nesting of TeeConstInitialization / TeeConstFinalization
}

std::string ChartFileFilter()
{
    const std::string ext = ChartFileExtension;
    return "(*." + ext + ")|*." + ext;
}

void InitTeeConstStrings()
{
    if (TextsAssigned)
        return;
    TextsAssigned = true;

#define TEE_CONST_ASSIGN(name, text) name = text;
    TEE_CONST_LITERAL_TEXTS(TEE_CONST_ASSIGN)
#undef TEE_CONST_ASSIGN

    const std::string ext = ChartFileExtension;
    TeeMsg_InvalidTeeFile = "Invalid Chart in *." + ext + " file";
    TeeMsg_WrongTeeFileFormat = "Wrong *." + ext + " file format";
    TeeMsg_EmptyTeeFile = "Empty *." + ext + " file";
    TeeMsg_TeeFilesFilter = "RurEvido files " + ChartFileFilter();
}

void TeeConstInitialization()
{
    if (UnitInitCount++ == 0)
        InitTeeConstStrings();
}

void TeeConstFinalization()
{
    if (UnitInitCount == 0 || --UnitInitCount > 0)
        return;
#define TEE_CONST_RELEASE(name, ...) std::string().swap(name);
    TEE_CONST_LITERAL_TEXTS(TEE_CONST_RELEASE)
    TEE_CONST_BUILT_TEXTS(TEE_CONST_RELEASE)
#undef TEE_CONST_RELEASE
    TextsAssigned = false;
}
