#include "render/scene.h"

#include "app/gl.h"

#include <cstdio>

#include "editor/editor_state.h"
#include "render/layout.h"

namespace {

struct Color {
    float r, g, b;
};

// Per colour schema 0 and 1.
constexpr Color GEOMETRY_COLORS[2] = {{0.4f, 1.0f, 0.4f}, {0.4f, 0.7f, 1.0f}};
constexpr Color LINE_COLORS[2] = {{0.4f, 0.0f, 0.9f}, {1.0f, 0.3f, 0.0f}};
constexpr Color POINT_COLORS[2] = {{0.3f, 0.3f, 0.3f}, {0.0f, 0.0f, 0.7f}};

void setColor(const Color (&colors)[2])
{
    const Color& c = colors[editor.colorSchema ? 1 : 0];
    glColor3f(c.r, c.g, c.b);
}

// The radio group keeps the mode as a plain int (a GLUI live variable).
DrawMode currentDrawMode()
{
    return static_cast<DrawMode>(editor.drawMode);
}

GLenum geometryPrimitive(DrawMode mode)
{
    switch (mode) {
    case DrawMode::TriangleFan:
        return GL_TRIANGLE_FAN;
    case DrawMode::TriangleStrip:
        return GL_TRIANGLE_STRIP;
    default:
        return GL_POLYGON;
    }
}

}  // namespace

void displayScene()
{
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    if (editor.showGeometry) {
        drawGeometry();
    }
    if (editor.showLines) {
        drawEdges();
    }
    if (editor.showPoints) {
        drawPoints();
    }
    glutSwapBuffers();
}

void drawGeometry()
{
    const PointSet& set = editor.pointSet;
    setColor(GEOMETRY_COLORS);
    glBegin(geometryPrimitive(currentDrawMode()));
    for (int i = 0; i < set.pointCount; i++) {
        glVertex2f(set.points[i].x, set.points[i].y);
    }
    glEnd();
}

void drawEdges()
{
    const PointSet& set = editor.pointSet;
    setColor(LINE_COLORS);
    const SegmentList edges = edgeSegments(currentDrawMode(), set.pointCount);
    if (edges.count == 0) {
        return;
    }
    glBegin(GL_LINES);
    for (int i = 0; i < edges.count; i++) {
        const Point& from = set.points[edges.segments[i].from];
        const Point& to = set.points[edges.segments[i].to];
        glVertex2f(from.x, from.y);
        glVertex2f(to.x, to.y);
    }
    glEnd();
}

void drawPoints()
{
    const PointSet& set = editor.pointSet;
    setColor(POINT_COLORS);
    for (int i = 0; i < set.pointCount; i++) {
        const Point& point = set.points[i];
        glPointSize(point.size);
        glBegin(GL_POINTS);
        glVertex2f(point.x, point.y);
        glEnd();

        const LabelPosition label = labelPosition(point);
        if (label.visible) {
            char number[12];
            std::snprintf(number, sizeof number, "%d", i + 1);
            drawLabel(label.x, label.y, number);
        }
    }
}

void drawLabel(int x, int y, const char* text)
{
    glRasterPos2f(static_cast<float>(x), static_cast<float>(y));
    for (const char* c = text; *c != '\0'; c++) {
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *c);
    }
}
