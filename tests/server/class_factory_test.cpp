#include <gtest/gtest.h>
#include <shlobj.h>

#include "common/com_ptr.h"
#include "shared/class_ids.h"
#include "support/library.h"

using namespace quorin;
using quorin::test::Library;

namespace {

// {00000000-0000-0000-0000-0000000000AB}: no class of the library.
constexpr GUID kUnknownClass = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0xab}};

class ClassFactoryTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(library.handle(), nullptr);
        ASSERT_EQ(library.canUnloadNow(), S_OK);
    }
    void TearDown() override { EXPECT_EQ(library.canUnloadNow(), S_OK) << "an object of the library leaked"; }

    Library library;
};

TEST_F(ClassFactoryTest, UnknownClassIsNotAvailable) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(library.getClassObject(kUnknownClass, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(ClassFactoryTest, FactoryOffersOnlyIUnknownAndIClassFactory) {
    for (const GUID* classId : {&CLSID_ToolbarBand, &CLSID_BrowserHelper}) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(library.getClassObject(*classId, IID_IDispatch, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(library.canUnloadNow(), S_OK);

        ComPtr<IUnknown> unknown;
        EXPECT_EQ(library.getClassObject(*classId, IID_IUnknown, unknown.putVoid()), S_OK);
        EXPECT_TRUE(unknown.as<IClassFactory>());
    }
}

TEST_F(ClassFactoryTest, LiveFactoryKeepsTheLibraryLoaded) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(library.getClassObject(CLSID_ToolbarBand, IID_IClassFactory, factory.putVoid()), S_OK);
    EXPECT_EQ(library.canUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(TRUE), E_NOTIMPL);
    factory.reset();
    EXPECT_EQ(library.canUnloadNow(), S_OK) << "LockServer must not keep the library loaded";
}

TEST_F(ClassFactoryTest, EveryCallGivesAFreshFactory) {
    ComPtr<IClassFactory> first, second;
    ASSERT_EQ(library.getClassObject(CLSID_BrowserHelper, IID_IClassFactory, first.putVoid()), S_OK);
    ASSERT_EQ(library.getClassObject(CLSID_BrowserHelper, IID_IClassFactory, second.putVoid()), S_OK);
    EXPECT_NE(first.get(), second.get());
}

TEST_F(ClassFactoryTest, CreateInstanceRefusesAggregation) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(library.getClassObject(CLSID_ToolbarBand, IID_IClassFactory, factory.putVoid()), S_OK);
    ComPtr<IUnknown> outer;
    ASSERT_EQ(library.getClassObject(CLSID_ToolbarBand, IID_IUnknown, outer.putVoid()), S_OK);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
}

TEST_F(ClassFactoryTest, UnsupportedInterfaceDestroysTheNewObjectAtOnce) {
    for (const GUID* classId : {&CLSID_ToolbarBand, &CLSID_BrowserHelper}) {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(library.getClassObject(*classId, IID_IClassFactory, factory.putVoid()), S_OK);
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        factory.reset();
        EXPECT_EQ(library.canUnloadNow(), S_OK);
    }
}

TEST_F(ClassFactoryTest, CreatesBandAndHelper) {
    ComPtr<IDeskBand> band;
    EXPECT_EQ(library.create(CLSID_ToolbarBand, IID_IDeskBand, band.putVoid()), S_OK);
    ComPtr<IObjectWithSite> helper;
    EXPECT_EQ(library.create(CLSID_BrowserHelper, IID_IObjectWithSite, helper.putVoid()), S_OK);
    EXPECT_TRUE(helper.as<IDispatch>());
    EXPECT_EQ(library.canUnloadNow(), S_FALSE);
}

}  // namespace
