#include "gui/SnapcoreFixture.h"

#include "util/ModulePath.h"

void SnapcoreFixture::SetUp()
{
    char path[MAX_PATH];
    ASSERT_TRUE(MakeModuleFilePath("snapcore.dll", path));
    m_hEngine = LoadLibraryA(path);
    ASSERT_NE(m_hEngine, nullptr) << path;
    m_pfnCaptureFullScreen = Resolve<CaptureFullScreenFn>(m_hEngine, "CaptureFullScreen");
    m_pfnDoCaptureModal = Resolve<DoCaptureModalFn>(m_hEngine, "DoCaptureModal");
    m_pfnCreateSkinManager = Resolve<CreateSkinManagerFn>(m_hEngine, "CreateSkinManager");
    m_pfnSelectOnFrozenScreen = Resolve<SelectOnFrozenScreenFn>(m_hEngine, "SelectOnFrozenScreen");
    ASSERT_NE(m_pfnCaptureFullScreen, nullptr);
    ASSERT_NE(m_pfnDoCaptureModal, nullptr);
    ASSERT_NE(m_pfnCreateSkinManager, nullptr);
    ASSERT_NE(m_pfnSelectOnFrozenScreen, nullptr);
}

void SnapcoreFixture::TearDown()
{
    if (m_hEngine) {
        EXPECT_TRUE(FreeLibrary(m_hEngine));
    }
}
