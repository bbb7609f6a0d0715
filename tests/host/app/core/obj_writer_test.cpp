// The .obj writer, on geometry put into the stand-in scene through the host library.
#include "host/app/core/obj_writer.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

TEST(ObjWriterTest, VerticesInOrderThenOneStatementPerItem) {
    standin::resetScene();
    int handle = piCreateObject("arm", host::kFigureObjectType);
    PiPoint line[2] = {{0, 0, 0}, {0, 5.21f, 0}};
    PiPoint triangle[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, -1.5f}};
    PiPoint cable[1] = {{2, 2, 2}};
    ASSERT_EQ(piPutGeometry(handle, host::kGeometryLine, line), 1);
    ASSERT_EQ(piPutGeometry(handle, host::kGeometryTriangle, triangle), 1);
    ASSERT_EQ(piPutGeometry(handle, host::kGeometryPoint, cable), 1);
    EXPECT_EQ(fighost::objText(*standin::object(handle)),
              "# fighost: 6 vertices, 1 lines, 1 triangles\n"
              "o arm\n"
              "v 0 0 0\n"
              "v 0 5.21 0\n"
              "v 1 0 0\n"
              "v 0 1 0\n"
              "v 0 0 -1.5\n"
              "v 2 2 2\n"
              "l 1 2\n"
              "f 3 4 5\n"
              "p 6\n");
}

TEST(ObjWriterTest, EmptyObjectStillNamesItself) {
    standin::resetScene();
    int handle = piCreateObject("", host::kFigureObjectType);
    EXPECT_EQ(fighost::objText(*standin::object(handle)),
              "# fighost: 0 vertices, 0 lines, 0 triangles\no figure\n");
}

TEST(ObjWriterTest, WritesTheFileOrSaysItCannot) {
    standin::resetScene();
    int handle = piCreateObject("arm", host::kFigureObjectType);
    PiPoint line[2] = {{0, 0, 0}, {1, 0, 0}};
    piPutGeometry(handle, host::kGeometryLine, line);
    testing_support::TempDir folder;
    std::string error;
    std::string path = folder.path("arm.obj");
    ASSERT_TRUE(fighost::writeObj(*standin::object(handle), path, &error)) << error;
    EXPECT_EQ(testing_support::readFile(path), fighost::objText(*standin::object(handle)));
    EXPECT_FALSE(fighost::writeObj(*standin::object(handle), folder.path("no/arm.obj"), &error));
    EXPECT_EQ(error, "cannot write " + folder.path("no/arm.obj"));
    // A full device takes the open but not the bytes.
    EXPECT_FALSE(fighost::writeObj(*standin::object(handle), "/dev/full", &error));
    EXPECT_EQ(error, "cannot write /dev/full");
}

}  // namespace
