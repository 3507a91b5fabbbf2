package koru.test;

// The main class of the JNI tests. It keeps its arguments; "print" writes the next two on System.out and
// System.err, "throw" throws, "exit" ends the process with the next one as its status. Its secondaryMain has the
// void form, and that of App$Answer the int form, answering with its first argument read as a number.
public class App {
    public static String[] received;

    public static void main(String[] args) {
        received = args;
        String action = args.length > 0 ? args[0] : "";
        if (action.equals("print")) {
            System.out.print(args[1]);
            System.err.print(args[2]);
        }
        if (action.equals("throw"))
            throw new IllegalStateException(args[1]);
        if (action.equals("exit"))
            System.exit(Integer.parseInt(args[1]));
    }

    public static void secondaryMain(String[] args) {
        received = args;
    }

    public static class Answer {
        public static String[] received;

        public static int secondaryMain(String[] args) {
            received = args;
            return Integer.parseInt(args[0]);
        }
    }
}
