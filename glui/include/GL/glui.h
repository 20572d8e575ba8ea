/*
 * GL/glui.h - a small GLUI-compatible control-panel library for GLUT programs.
 *
 * Source compatible with the part of GLUI 2.35 - 2.37 that a simple panel
 * needs: static text, separators, buttons, spinners, embossed panels, radio
 * groups and checkboxes, live variables, GLUI_CB callbacks and GLUI_Master
 * (window creation and the idle function). How it works: glui/README.md.
 */
#ifndef GLUI_COMPAT_GLUI_H
#define GLUI_COMPAT_GLUI_H

/* GLUT, and with it GL and GLU: Apple's GLUT framework has them under GLUT/
   and OpenGL/, freeglut (everywhere else, and on macOS where a program took
   freeglut's header first or is built with FREEGLUT) under GL/. */
#if defined(__APPLE__) && !defined(FREEGLUT)
#include <GLUT/glut.h>
#else
#include <GL/glut.h>
#endif

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
class GLUI_Spinner;
struct GLUI_Internals; /* the library's tests */

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

    /* Each control's one value path: limits, live variable, redraw, and a
       redisplay of the main graphics window; never the callback. */
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

    /* Layout: measure() sets w and h, place() the position of the control
       and of what is inside it. A container stacks its column items. */
    virtual void measure() {}
    virtual void place(int x, int y);
    virtual void join_column(std::vector<GLUI_Control *> &column);
    virtual void column_placed() {}
    virtual bool is_centred() const { return false; }
    virtual int outer_pad() const { return 0; }
    std::vector<GLUI_Control *> column_items();
    void measure_column(int top);
    void place_column(int top);
    void layout_window();

    virtual void draw() {} /* the focused control draws its focus box too */

    /* Input; x, y in window pixels. */
    virtual bool hit(int x, int y) const;
    virtual void mouse_down(int x, int y);
    virtual void mouse_held(int x, int y, bool inside);
    virtual void mouse_up(int x, int y, bool inside);
    virtual bool key(int key, bool special);
    virtual void focus_lost() {}
    virtual void focus_gained() {}
    virtual bool wants_idle() const { return false; }
    virtual void idle(unsigned now_ms);

    void output_live(int post_redisplay = 1);
    void execute_callback();
    void redraw();
    int read_live_int() const;
    float read_live_float() const;
    int text_width(const char *text) const;
    bool is_focused() const;
    bool pressed_look() const;
};

class GLUI_StaticText : public GLUI_Control {
public:
    void set_text(const char *text);

protected:
    friend class GLUI;
    GLUI_StaticText() {}
    void measure() override;
    void draw() override;
};

class GLUI_Separator : public GLUI_Control {
protected:
    friend class GLUI;
    GLUI_Separator() {}
    void measure() override;
    void draw() override;
};

class GLUI_Button : public GLUI_Control {
protected:
    friend class GLUI;
    GLUI_Button() {}
    void measure() override;
    bool is_centred() const override { return true; }
    void draw() override;
    void mouse_up(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
};

/* set_int_val() stores the value as given: non-zero shows a tick. */
class GLUI_Checkbox : public GLUI_Control {
protected:
    friend class GLUI;
    friend struct GLUI_Internals;
    GLUI_Checkbox() {}
    void measure() override;
    void draw() override;
    void mouse_up(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
    void commit_toggle();
    bool shown_ticked() const;
};

/* int_val holds the panel's style (GLUI_PANEL_...). */
class GLUI_Panel : public GLUI_Control {
protected:
    friend class GLUI;
    GLUI_Panel() {}
    void measure() override;
    void place(int x, int y) override;
    bool is_centred() const override { return true; }
    int outer_pad() const override { return 3; }
    void draw() override;
};

class GLUI_RadioGroup : public GLUI_Control {
public:
    void set_int_val(int new_val) override;
    void set_selected(int int_val);
    int num_buttons;

protected:
    friend class GLUI;
    friend class GLUI_RadioButton;
    GLUI_RadioGroup() : num_buttons(0) {}
    void join_column(std::vector<GLUI_Control *> &column) override;
    void column_placed() override;
    void select(int value, bool by_user);
};

class GLUI_RadioButton : public GLUI_Control {
public:
    GLUI_RadioGroup *group;

protected:
    friend class GLUI;
    GLUI_RadioButton() : group(NULL) {}
    void measure() override;
    void draw() override;
    void mouse_up(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
};

/* A spinner's edit field: an integer or a decimal number. */
class GLUI_EditText : public GLUI_Control {
public:
    const char *get_text() const { return text.c_str(); }
    void set_text(const char *new_text);
    void set_int_val(int new_int) override;
    void set_float_val(float new_float) override;
    void set_int_limits(int low, int high, int limit_type = GLUI_LIMIT_CLAMP);
    void set_float_limits(float low, float high, int limit_type = GLUI_LIMIT_CLAMP);

    GLUI_String text;
    int data_type;
    int has_limits;
    int int_low, int_high;
    float float_low, float_high;
    int text_x_offset;
    int insertion_pt;
    int sel_start, sel_end;
    GLUI_Spinner *spinner;

protected:
    friend class GLUI;
    friend class GLUI_Spinner;
    GLUI_EditText();
    void measure() override;
    void draw() override;
    bool hit(int x, int y) const override;
    void mouse_down(int x, int y) override;
    void mouse_held(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
    void focus_lost() override;
    void focus_gained() override;
    int char_at(int x) const;
    void selection(int &lo, int &hi) const;
    void delete_selection();
    bool type_char(int c);
    void commit();
};

class GLUI_Spinner : public GLUI_Control {
public:
    void set_int_val(int new_val) override;
    void set_float_val(float new_val) override;
    void set_int_limits(int low, int high, int limit_type = GLUI_LIMIT_CLAMP);
    void set_float_limits(float low, float high, int limit_type = GLUI_LIMIT_CLAMP);
    int get_int_val() const { return int_val; }
    float get_float_val() const { return float_val; }
    GLUI_EditText *edittext;
    int data_type;

protected:
    friend class GLUI;
    friend class GLUI_EditText;
    GLUI_Spinner();
    void measure() override;
    void place(int x, int y) override;
    void draw() override;
    bool hit(int x, int y) const override;
    void mouse_down(int x, int y) override;
    void mouse_held(int x, int y, bool inside) override;
    void mouse_up(int x, int y, bool inside) override;
    bool key(int key, bool special) override;
    bool wants_idle() const override { return held_arrow != 0; }
    void idle(unsigned now_ms) override;
    void sync_live(int recurse = 1, int draw = 1) override;

    void apply(double new_val, bool from_user);
    void hold(int i, float f);
    void set_limits(double low, double high, int limit_type);
    void step(int dir);
    int arrow_at(int x, int y) const;

    int held_arrow;        /* the arrow held down: +1 up, -1 down, 0 none */
    bool arrow_inside;     /* the pointer is over the held arrow */
    unsigned last_step_ms; /* when the held arrow last stepped (or was pressed) */
    unsigned wait_ms;      /* from last_step_ms to the next step */
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
    friend struct GLUI_Internals;
    GLUI();
    GLUI(const GLUI &) = delete;
    GLUI &operator=(const GLUI &) = delete;

    void attach(GLUI_Control *ctrl, GLUI_Control *parent, const char *name);
    void draw_all();
    std::vector<GLUI_Control *> focus_order() const;
    GLUI_Control *control_at(int x, int y) const;
    void set_focus(GLUI_Control *c);
    void move_focus(int dir);
    bool wants_idle() const;
    void idle(unsigned now_ms);

    void on_mouse(int button, int state, int x, int y);
    void on_motion(int x, int y);
    void on_key(int key, bool special);
    void on_reshape(int w, int h);

    GLUI_Control root;      /* the window's column; its size is the window's */
    int window_w, window_h; /* the size the window has (last reshape), 0 before */
    bool redraw_after_resize; /* the next frame is the first at a new size */
    GLUI_Control *active;   /* pressed with the mouse, or NULL */
    GLUI_Control *focused;  /* takes keys, or NULL */
    bool active_inside;     /* the pointer is over the active control */
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

    GLUI *gui_of_window(int window) const;
    void update_idle();
    static void idle_turn();
    static void on_display(int window);
    static void on_reshape(int window, int w, int h);
    static void on_key(int window, int key, bool special);
    static void on_mouse(int window, int button, int state, int x, int y);
    static void on_motion(int window, int x, int y);
};

extern GLUI_Master_Object GLUI_Master;

#endif
