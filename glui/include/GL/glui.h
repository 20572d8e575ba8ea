/*
 * GL/glui.h - a small GLUI-compatible control-panel library for GLUT programs.
 *
 * Source compatible with the part of GLUI 2.35 - 2.37 that a simple editor
 * panel needs: static text, separators, buttons, an integer spinner, embossed
 * panels, radio groups and checkboxes, live variables, GLUI_CB callbacks and
 * GLUI_Master (window creation and the idle function).
 *
 * How the library works
 *  - Every control keeps one rectangle (x_abs, y_abs, w, h, window pixels,
 *    y downwards). The panel lays itself out after every add_...() call and
 *    the same rectangles are used for hit testing and drawing.
 *  - Every value change goes through one path per control: clamp, store,
 *    write the live variable, redraw the panel, post a redisplay of the main
 *    graphics window. Callbacks run after that, with the main graphics window
 *    current; the previous window is made current again afterwards.
 *  - Mouse: a press on a control makes it the active control. While the
 *    button is held the control looks pressed only when the pointer is over
 *    it. The release acts only when the pointer is over the active control;
 *    a release anywhere else does nothing (a checkbox reverts its preview).
 *  - Spinner arrows step once on the press, then repeat while held: the first
 *    repeat comes 400 ms after the press, then one step every 80 ms
 *    (12.5 steps per second). The value never leaves the limits; repetition
 *    stops when the arrow is released or the pointer leaves it.
 *  - The panel redraws only when something in it changed. The idle function
 *    registered by GLUI_Master.set_glutIdleFunc() first does the library's
 *    own work (arrow repeat) and then calls the program's function.
 *  - The panel window is created at the size of an empty panel (GLUT's
 *    initial window position, size and display mode are restored
 *    afterwards). Each add_...() asks for the size the controls need; GLUT
 *    carries out only the last request, once, before the panel's first frame,
 *    so the window goes straight to its final size (no intermediate sizes).
 *    Its reshape callback forces that size back.
 *
 * Keyboard
 *  - Keys go to the focused control only; with no control focused, keys typed
 *    in the panel are dropped (never passed to the drawing window).
 *  - Tab commits the focused control and moves focus forward in the order the
 *    controls were added (buttons, the spinner, its edit field, each radio
 *    button, each checkbox); with nothing focused it focuses the first one.
 *    A Tab that arrives with GLUT_ACTIVE_SHIFT set moves backwards.
 *    What freeglut 3.4 delivers for Shift+Tab under X11 (checked with XTest
 *    on Xvfb): the Shift press arrives as the special key GLUT_KEY_SHIFT_L
 *    (112), and the Tab itself - keysym ISO_Left_Tab while Shift is down -
 *    is dropped by freeglut: neither the keyboard nor the special callback
 *    sees it. So under X11 Shift+Tab does nothing; the backward move works
 *    where GLUT passes the Tab on with the Shift modifier.
 *  - Space on a focused button, checkbox or radio button clicks it; Enter
 *    does nothing there. Up / Down on the focused spinner (or its field) step
 *    like an arrow click. The focused control shows a dotted focus box.
 *
 * Bad input (none of these crashes)
 *  - set_int_limits(low, high) with low > high: the two are swapped.
 *  - A typed number too long for an int (e.g. "99999999999"): it saturates to
 *    INT_MAX / INT_MIN before clamping; the field accepts at most 11
 *    characters.
 *  - A caption wider than the window: the control and the window grow to fit
 *    it (nothing is cut off; the window may get wide).
 *  - A null live variable: the control keeps its value internally and writes
 *    nothing; a null caption counts as "".
 *  - set_int_val far out of range: clamped to the limits (spinner); stored
 *    as given on a checkbox (any non-zero value shows a tick; a click then
 *    makes it 0); ignored on a radio group when there is no such button.
 *  - A null panel or group passed to add_..._to_panel / add_radiobutton:
 *    the control is added to the window itself (no group: NULL is returned).
 */
#ifndef GLUI_COMPAT_GLUI_H
#define GLUI_COMPAT_GLUI_H

#include <GL/glut.h>

#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#define GLUI_VERSION 2.36f

/* Limits of a spinner */
#define GLUI_LIMIT_NONE 0
#define GLUI_LIMIT_CLAMP 1
#define GLUI_LIMIT_WRAP 2

/* Data types of edit fields and spinners */
#define GLUI_EDITTEXT_TEXT 1
#define GLUI_EDITTEXT_INT 2
#define GLUI_EDITTEXT_FLOAT 3
#define GLUI_SPINNER_INT GLUI_EDITTEXT_INT
#define GLUI_SPINNER_FLOAT GLUI_EDITTEXT_FLOAT

/* Panel styles */
#define GLUI_PANEL_NONE 0
#define GLUI_PANEL_EMBOSSED 1
#define GLUI_PANEL_RAISED 2

/* Kinds of live variable */
#define GLUI_LIVE_NONE 0
#define GLUI_LIVE_INT 1
#define GLUI_LIVE_FLOAT 2
#define GLUI_LIVE_TEXT 3

typedef std::string GLUI_String;

class GLUI;
class GLUI_Control;
class GLUI_Panel;
class GLUI_RadioGroup;
struct GLUI_Internals;

typedef void (*GLUI_Update_CB)(int id);
typedef void (*GLUI_Control_CB)(GLUI_Control *);

/* A callback: empty, or an id callback, or an object callback. Made
   implicitly from either function pointer; NULL and 0 are ambiguous on
   purpose (use GLUI_CB() for "no callback"). */
class GLUI_CB {
public:
    GLUI_CB() : idCB(0), objCB(0) {}
    GLUI_CB(GLUI_Update_CB cb) : idCB(cb), objCB(0) {}
    GLUI_CB(GLUI_Control_CB cb) : idCB(0), objCB(cb) {}
    void operator()(GLUI_Control *ctrl) const;
    operator bool() const { return idCB || objCB; }

protected:
    GLUI_Update_CB idCB;
    GLUI_Control_CB objCB;
};

/* The base of every control. The panel owns its controls. */
class GLUI_Control {
public:
    virtual ~GLUI_Control();

    virtual void set_int_val(int new_int);
    int get_int_val() const { return int_val; }
    virtual void set_float_val(float new_float);
    float get_float_val() const { return float_val; }
    virtual void set_name(const char *string);
    const char *get_name() const { return name.c_str(); }
    int get_id() const { return user_id; }
    void set_id(int id) { user_id = id; }
    GLUI *get_glui() const { return glui; }
    GLUI_Control *get_parent() const { return parent; }

    /* Copies the live variable into the control when it differs. */
    virtual void sync_live(int recurse = 1, int draw = 1);

    /* The control's rectangle in the panel window (pixels, y downwards). */
    int x_abs, y_abs, w, h;

    int user_id;
    GLUI_String name;
    int int_val;
    float float_val;
    void *ptr_val;
    int live_type;
    GLUI_CB callback;
    GLUI *glui;
    GLUI_Control *parent;
    std::vector<GLUI_Control *> children;
    bool can_activate;

protected:
    GLUI_Control();
    friend class GLUI;
    friend struct GLUI_Internals;

    /* Layout: the size from the caption (text measured by the panel). */
    virtual void update_size() {}
    /* True when this control's children stack inside it as a column. */
    virtual bool is_container() const { return false; }
    /* True when the control is laid out centred in its parent. */
    virtual bool is_centred() const { return false; }
    /* Extra space above and below in a column. */
    virtual int outer_pad() const { return 0; }

    virtual void draw() {}
    virtual void draw_focus() {}

    /* Mouse state machine; x, y in window pixels. */
    virtual bool hit(int x, int y) const;
    virtual void mouse_down(int x, int y) { (void)x; (void)y; }
    virtual void mouse_held(int x, int y, bool inside) { (void)x; (void)y; (void)inside; }
    virtual void mouse_up(int x, int y, bool inside) { (void)x; (void)y; (void)inside; }
    /* A key while focused; returns true when it was used. */
    virtual bool key(int key, bool special) { (void)key; (void)special; return false; }
    /* Focus moves away (commit typed text). */
    virtual void focus_lost() {}
    virtual void focus_gained() {}

    /* The value path: writes the live variable, redraws the panel and asks
       for a redisplay of the main graphics window. */
    void output_live(int post_redisplay = 1);
    void execute_callback();
    void redraw();
    int read_live_int() const;

    int text_width(const char *text) const;
    bool is_focused() const;
    bool is_active() const;
    bool pressed_look() const;
};

class GLUI_StaticText : public GLUI_Control {
public:
    void set_text(const char *text);

protected:
    friend class GLUI;
    GLUI_StaticText() {}
    void update_size() override;
    void draw() override;
};

class GLUI_Separator : public GLUI_Control {
protected:
    friend class GLUI;
    GLUI_Separator() {}
    void update_size() override;
    void draw() override;
};

class GLUI_Button : public GLUI_Control {
protected:
    friend class GLUI;
    GLUI_Button() {}
    void update_size() override;
    bool is_centred() const override { return true; }
    void draw() override;
    void draw_focus() override;
    void mouse_up(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
};

class GLUI_Checkbox : public GLUI_Control {
public:
    void set_int_val(int new_val) override;

protected:
    friend class GLUI;
    GLUI_Checkbox() {}
    void update_size() override;
    void draw() override;
    void draw_focus() override;
    void mouse_up(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
    void commit_toggle();
};

/* int_val holds the panel's style (GLUI_PANEL_...). */
class GLUI_Panel : public GLUI_Control {
protected:
    friend class GLUI;
    GLUI_Panel() {}
    void update_size() override;
    bool is_container() const override { return true; }
    bool is_centred() const override { return true; }
    int outer_pad() const override { return 3; }
    void draw() override;
};

class GLUI_RadioButton;

class GLUI_RadioGroup : public GLUI_Control {
public:
    void set_int_val(int new_val) override;
    void set_selected(int int_val);
    int num_buttons;

protected:
    friend class GLUI;
    friend class GLUI_RadioButton;
    GLUI_RadioGroup() : num_buttons(0) {}
    void select(int value, bool by_user);
};

class GLUI_RadioButton : public GLUI_Control {
public:
    GLUI_RadioGroup *group;

protected:
    friend class GLUI;
    GLUI_RadioButton() : group(NULL) {}
    void update_size() override;
    void draw() override;
    void draw_focus() override;
    void mouse_up(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
};

class GLUI_Spinner;

/* The spinner's edit field (an integer field). */
class GLUI_EditText : public GLUI_Control {
public:
    const char *get_text() const { return text.c_str(); }
    void set_text(const char *new_text);
    void set_int_val(int new_int) override;
    void set_int_limits(int low, int high, int limit_type = GLUI_LIMIT_CLAMP);

    GLUI_String text;
    int data_type;
    int has_limits;
    int int_low, int_high;
    int text_x_offset;
    int insertion_pt;
    int sel_start, sel_end;
    GLUI_Spinner *spinner;

protected:
    friend class GLUI;
    friend class GLUI_Spinner;
    friend struct GLUI_Internals;
    GLUI_EditText();
    void update_size() override;
    void draw() override;
    void draw_focus() override;
    void mouse_down(int x, int y) override;
    void mouse_held(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
    void focus_lost() override;
    void focus_gained() override;
    int field_x() const { return x_abs + text_x_offset; }
    int char_at(int x) const;
    void delete_selection();
    void commit();
    bool type_char(int c);
};

class GLUI_Spinner : public GLUI_Control {
public:
    void set_int_val(int new_val) override;
    void set_int_limits(int low, int high, int limit_type = GLUI_LIMIT_CLAMP);
    int get_int_val() const { return int_val; }
    GLUI_EditText *edittext;
    int data_type;

protected:
    friend class GLUI;
    friend class GLUI_EditText;
    friend struct GLUI_Internals;
    GLUI_Spinner();
    void update_size() override;
    void draw() override;
    void draw_focus() override;
    bool hit(int x, int y) const override;
    void mouse_down(int x, int y) override;
    void mouse_held(int x, int y, bool inside) override;
    void mouse_up(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
    void sync_live(int recurse = 1, int draw = 1) override;

    /* Every change of value: clamp, store, show, write, redisplay; the
       callback when the value changed and the change came from the user. */
    void apply(int new_val, bool from_user);
    int clamp(int v) const;
    void step(int dir, bool from_user);
    int arrow_at(int x, int y) const; /* +1 up, -1 down, 0 none */
    void idle_repeat(int now_ms);

    int held_arrow;   /* the arrow pressed, +1 / -1, or 0 */
    bool arrow_inside; /* the pointer is over the held arrow */
    int next_repeat_ms;
};

class GLUI {
public:
    GLUI_StaticText *add_statictext(const char *name);
    GLUI_StaticText *add_statictext_to_panel(GLUI_Panel *panel, const char *name);
    void add_separator();
    void add_separator_to_panel(GLUI_Panel *panel);
    GLUI_Button *add_button(const char *name, int id = -1, GLUI_CB cb = GLUI_CB());
    GLUI_Button *add_button_to_panel(GLUI_Panel *panel, const char *name, int id = -1,
                                     GLUI_CB cb = GLUI_CB());
    GLUI_Spinner *add_spinner(const char *name, int data_type = GLUI_SPINNER_INT,
                              void *live_var = NULL, int id = -1, GLUI_CB cb = GLUI_CB());
    GLUI_Spinner *add_spinner_to_panel(GLUI_Panel *panel, const char *name,
                                       int data_type = GLUI_SPINNER_INT, void *live_var = NULL,
                                       int id = -1, GLUI_CB cb = GLUI_CB());
    GLUI_Panel *add_panel(const char *name, int type = GLUI_PANEL_EMBOSSED);
    GLUI_Panel *add_panel_to_panel(GLUI_Panel *panel, const char *name,
                                   int type = GLUI_PANEL_EMBOSSED);
    GLUI_RadioGroup *add_radiogroup(int *live_var = NULL, int user_id = -1,
                                    GLUI_CB cb = GLUI_CB());
    GLUI_RadioGroup *add_radiogroup_to_panel(GLUI_Panel *panel, int *live_var = NULL,
                                             int user_id = -1, GLUI_CB cb = GLUI_CB());
    GLUI_RadioButton *add_radiobutton_to_group(GLUI_RadioGroup *group, const char *name);
    GLUI_Checkbox *add_checkbox(const char *name, int *live_var = NULL, int id = -1,
                                GLUI_CB cb = GLUI_CB());
    GLUI_Checkbox *add_checkbox_to_panel(GLUI_Panel *panel, const char *name,
                                         int *live_var = NULL, int id = -1,
                                         GLUI_CB cb = GLUI_CB());

    void set_main_gfx_window(int window_id) { main_gfx_window_id = window_id; }
    int get_glut_window_id() { return glut_window_id; }
    void sync_live();

    int main_gfx_window_id;
    int glut_window_id;

    ~GLUI();

private:
    friend class GLUI_Master_Object;
    friend class GLUI_Control;
    friend class GLUI_Spinner;
    friend struct GLUI_Internals;
    GLUI();
    GLUI(const GLUI &) = delete;
    GLUI &operator=(const GLUI &) = delete;

    template <class T> T *adopt(T *ctrl, GLUI_Control *parent, const char *name);
    void layout();
    void size_of(GLUI_Control *c);
    int place(GLUI_Control *c, int x, int y, int parent_x, int parent_w);
    void draw_all();
    void post_panel_redisplay();
    std::vector<GLUI_Control *> focus_order() const;
    GLUI_Control *control_at(int x, int y) const;
    GLUI_Control *deepest_at(const GLUI_Control *c, int x, int y) const;
    void set_focus(GLUI_Control *c);
    void move_focus(int dir);

    void on_mouse(int button, int state, int x, int y);
    void on_motion(int x, int y);
    void on_keyboard(int key, bool special, int x, int y);
    void on_reshape(int w, int h);

    GLUI_Control root;       /* the window's column */
    int width, height;       /* the window size the controls need */
    int window_w, window_h;  /* the size the window has (last reshape), 0 before */
    GLUI_Control *active;    /* pressed with the mouse, or NULL */
    GLUI_Control *focused;   /* takes keys, or NULL */
    GLUI_Spinner *repeating; /* holds an arrow, or NULL */
    bool active_inside;      /* the pointer is over the active control */
};

class GLUI_Master_Object {
public:
    GLUI_Master_Object();
    ~GLUI_Master_Object();
    GLUI *create_glui(const char *name, long flags = 0, int x = -1, int y = -1);
    void set_glutIdleFunc(void (*f)(void));
    void sync_live_all();
    float get_version() { return GLUI_VERSION; }

    void (*glut_idle_CB)(void);

private:
    friend struct GLUI_Internals;
    std::vector<GLUI *> guis;
};

extern GLUI_Master_Object GLUI_Master;

#endif
